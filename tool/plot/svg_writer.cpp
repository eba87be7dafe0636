#include "tool/plot/svg_writer.h"

#include <cmath>
#include <ostream>

#include "tool/text/code_page.h"

namespace scenario {

namespace {

// One decimal: a tenth of a pixel is finer than any screen shows. A value
// that is not finite would make the file unreadable; it is drawn at 0.
std::string num(double v) {
    if (!std::isfinite(v)) v = 0;
    const double tenths = std::round(v * 10) / 10;
    std::string text = std::to_string(tenths);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

void put_points(std::ostream& out, const std::vector<std::pair<double, double>>& points) {
    out << " points=\"";
    for (std::size_t i = 0; i < points.size(); ++i)
        out << (i == 0 ? "" : " ") << num(points[i].first) << ',' << num(points[i].second);
    out << '"';
}

}  // namespace

std::string xml_escaped(std::string_view utf8) {
    std::string out;
    for (char ch : valid_utf8(utf8)) {
        switch (ch) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                // XML 1.0 allows no control characters besides tab and line ends.
                if (static_cast<unsigned char>(ch) < 0x20) {
                    out += ' ';
                } else {
                    out += ch;
                }
        }
    }
    return out;
}

SvgWriter::SvgWriter(std::ostream& out, double width, double height) : out_(out) {
    out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << num(width) << "\" height=\""
         << num(height) << "\" viewBox=\"0 0 " << num(width) << ' ' << num(height)
         << "\" font-family=\"DejaVu Sans, Verdana, Arial, sans-serif\">\n";
    rect(0, 0, width, height, "#ffffff");
}

SvgWriter::~SvgWriter() {
    out_ << "</svg>\n";
}

void SvgWriter::rect(double x, double y, double w, double h, std::string_view fill,
                     std::string_view stroke) {
    out_ << "<rect x=\"" << num(x) << "\" y=\"" << num(y) << "\" width=\"" << num(std::max(w, 0.0))
         << "\" height=\"" << num(std::max(h, 0.0)) << "\" fill=\"" << fill << "\" stroke=\""
         << stroke << "\"/>\n";
}

void SvgWriter::line(double x1, double y1, double x2, double y2, std::string_view stroke,
                     double width, std::string_view dash) {
    out_ << "<line x1=\"" << num(x1) << "\" y1=\"" << num(y1) << "\" x2=\"" << num(x2) << "\" y2=\""
         << num(y2) << "\" stroke=\"" << stroke << "\" stroke-width=\"" << num(width) << '"';
    if (!dash.empty()) out_ << " stroke-dasharray=\"" << dash << '"';
    out_ << "/>\n";
}

void SvgWriter::circle(double cx, double cy, double r, std::string_view fill,
                       std::string_view stroke) {
    out_ << "<circle cx=\"" << num(cx) << "\" cy=\"" << num(cy) << "\" r=\"" << num(r)
         << "\" fill=\"" << fill << "\" stroke=\"" << stroke << "\"/>\n";
}

void SvgWriter::polyline(const std::vector<std::pair<double, double>>& points,
                         std::string_view stroke, double width, std::string_view fill) {
    if (points.empty()) return;
    out_ << "<polyline";
    put_points(out_, points);
    out_ << " fill=\"" << fill << "\" stroke=\"" << stroke << "\" stroke-width=\"" << num(width)
         << "\" stroke-linejoin=\"round\"/>\n";
}

void SvgWriter::polygon(const std::vector<std::pair<double, double>>& points,
                        std::string_view fill) {
    if (points.empty()) return;
    out_ << "<polygon";
    put_points(out_, points);
    out_ << " fill=\"" << fill << "\"/>\n";
}

void SvgWriter::text(double x, double y, std::string_view utf8, const TextStyle& style) {
    out_ << "<text x=\"" << num(x) << "\" y=\"" << num(y) << "\" font-size=\"" << num(style.size)
         << "\" text-anchor=\"" << style.anchor << "\" fill=\"" << style.fill << '"';
    if (style.bold) out_ << " font-weight=\"bold\"";
    if (style.halo) {
        out_ << " stroke=\"#ffffff\" stroke-width=\"3\" stroke-linejoin=\"round\" "
                "paint-order=\"stroke\"";
    }
    if (style.rotate != 0) {
        out_ << " transform=\"rotate(" << num(style.rotate) << ' ' << num(x) << ' ' << num(y)
             << ")\"";
    }
    out_ << '>' << xml_escaped(utf8) << "</text>\n";
}

}  // namespace scenario
