# The project's version, product name and each program's description, written
# into the Windows executables' version resource by the toolchain's resource
# compiler, so that Explorer's Properties show them.

set(SCENARIO_PRODUCT_NAME "Scenario builder")
set(SCENARIO_BUILDER_DESCRIPTION "Writes the Alvena to Sorbio scenario for the simulator")
set(SCENARIO_TOOL_DESCRIPTION "Compiles, dumps and draws scenarios for their authors")

if(WIN32)
  enable_language(RC)
  # Gives `target` a version resource with `description` as its description.
  function(scenario_version_resource target description)
    set(resource_target ${target})
    set(resource_description ${description})
    set(rc ${PROJECT_BINARY_DIR}/version/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/version_resource.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
  endfunction()

  scenario_version_resource(scenario_builder "${SCENARIO_BUILDER_DESCRIPTION}")
  scenario_version_resource(scenario_tool "${SCENARIO_TOOL_DESCRIPTION}")
endif()
