# The six files a good run leaves in the program's folder, in the order the
# run writes them; sourced by the shell checks and the benchmark script.
readonly -a kOutputs=(
  Alvena_Sorbio_4271_note.txt
  Alvena_Sorbio_4271_rallentamenti.txt
  Alvena_Sorbio_4271_scheda_treno.txt
  Alvena_Sorbio_linea.dat
  Alvena_Sorbio_4271.sim
  Alvena_Sorbio_4271.dat
)
