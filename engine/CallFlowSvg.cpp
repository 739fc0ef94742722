#include "CallFlowSvg.h"

#include <cstdio>
#include <string>

namespace vexa {

namespace {

std::string Escape(const std::string &s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            // Control characters are not allowed in XML text.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t') out += ' ';
            else out += c;
        }
    }
    return out;
}

std::string Css(uint32_t bgr) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    return text;
}

}  // namespace

std::string ArrowLabel(const FlowMessage &m) { return m.key.empty() ? m.name : m.name + "  (" + m.key + ")"; }

void WriteCallFlowSvg(const CallFlow &flow, const FlowColors &colors, std::ostream &out) {
    using L = FlowLayout;
    const int width = L::Width(flow), height = L::Height(flow);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << width << ' ' << height << "\" font-family=\"monospace\" font-size=\"12\">\n"
        << "<title>" << Escape(flow.title) << "</title>\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    for (size_t c = 0; c < flow.sides.size(); ++c) {
        const int x = L::ColumnX(static_cast<int>(c));
        out << "<g class=\"side\"><text x=\"" << x << "\" y=\"24\" text-anchor=\"middle\" font-weight=\"bold\">"
            << Escape(flow.sides[c]) << "</text><line x1=\"" << x << "\" y1=\"" << L::kHeader - 10 << "\" x2=\"" << x
            << "\" y2=\"" << height - 10 << "\" stroke=\"#808080\" stroke-width=\"1\"/></g>\n";
    }
    for (size_t a = 0; a < flow.arrows.size(); ++a) {
        const FlowMessage &m = flow.arrows[a];
        const int y = L::ArrowY(static_cast<int>(a));
        const int x1 = L::ColumnX(flow.SideColumn(m.from)), x2 = L::ColumnX(flow.SideColumn(m.to));
        const std::string color = Css(!m.valid ? colors.invalid : m.Outgoing() ? colors.outgoing : colors.incoming);
        const int head = x2 >= x1 ? -8 : 8;
        out << "<g class=\"arrow\" data-seq=\"" << m.sequence << "\" data-index=\"" << m.index << "\" data-valid=\""
            << (m.valid ? 1 : 0) << "\">"
            << "<text class=\"time\" x=\"4\" y=\"" << y + 4 << "\">" << Escape(m.time) << "</text>";
        if (!m.valid)
            out << "<text class=\"invalid\" x=\"" << L::kInvalidMarkX << "\" y=\"" << y + 4 << "\" fill=\"" << color
                << "\" font-weight=\"bold\">!!!</text>";
        out << "<line x1=\"" << x1 << "\" y1=\"" << y << "\" x2=\"" << x2 << "\" y2=\"" << y << "\" stroke=\"" << color
            << "\" stroke-width=\"1.5\"/>"
            << "<polygon points=\"" << x2 << ',' << y << ' ' << x2 + head << ',' << y - 4 << ' ' << x2 + head << ','
            << y + 4 << "\" fill=\"" << color << "\"/>"
            << "<text class=\"label\" x=\"" << (x1 + x2) / 2 << "\" y=\"" << y - 5 << "\" text-anchor=\"middle\" fill=\""
            << color << "\">" << Escape(ArrowLabel(m)) << "</text></g>\n";
    }
    out << "</svg>\n";
}

}  // namespace vexa
