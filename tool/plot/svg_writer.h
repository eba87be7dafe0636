// A few SVG elements written straight to a stream, with every text and
// attribute value escaped for XML. Numbers are written with one decimal,
// enough for a picture of fixed size in pixels.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario {

struct TextStyle {
    double size = 12;
    std::string_view anchor = "start";  // start, middle or end
    std::string_view fill = "#222";
    bool bold = false;
    double rotate = 0;  // degrees, about the text's anchor point
    bool halo = false;  // a white outline, so the text reads over lines
};

class SvgWriter {
  public:
    SvgWriter(std::ostream& out, double width, double height);
    ~SvgWriter();
    SvgWriter(const SvgWriter&) = delete;
    SvgWriter& operator=(const SvgWriter&) = delete;

    void rect(double x, double y, double w, double h, std::string_view fill,
              std::string_view stroke = "none");
    void line(double x1, double y1, double x2, double y2, std::string_view stroke, double width = 1,
              std::string_view dash = {});
    void circle(double cx, double cy, double r, std::string_view fill,
                std::string_view stroke = "none");
    // An open path through the points; `fill` closes it for an area.
    void polyline(const std::vector<std::pair<double, double>>& points, std::string_view stroke,
                  double width, std::string_view fill = "none");
    void polygon(const std::vector<std::pair<double, double>>& points, std::string_view fill);
    // `utf8` is the text shown.
    void text(double x, double y, std::string_view utf8, const TextStyle& style = {});

  private:
    std::ostream& out_;
};

// The text with &, <, >, " and ' replaced by their XML entities.
std::string xml_escaped(std::string_view utf8);

}  // namespace scenario
