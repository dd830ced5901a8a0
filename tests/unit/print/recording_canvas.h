// A canvas that records what is placed on it, with metrics simple enough to work positions out
// by hand: every character (code point) is 10 twips per point wide (100 at 10 pt, 120 at 12 pt)
// but a blank, which is half as wide as the rest, as in the sheet's font; a line is 23 twips
// per point high (230 at 10 pt, 276 at 12 pt).
#pragma once

#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace kalvo::test {

struct Placed {
    enum Kind { Text, Picture, PageBreak };
    Kind kind = Text;
    int x = 0;
    int y = 0;
    std::string text;  // the text, or the picture's path
    int points = 10;
    bool bold = false;

    bool operator==(const Placed&) const = default;
};

inline Placed text(int x, int y, std::string s, int points = 10, bool bold = false) {
    return {Placed::Text, x, y, std::move(s), points, bold};
}
inline Placed picture(int x, int y, std::string path) {
    return {Placed::Picture, x, y, std::move(path), 0, false};
}
inline Placed pageBreak() {
    return {Placed::PageBreak, 0, 0, {}, 0, false};
}

// An item as the helpers above build it: text(1000, 1460, "Netzart:") for 10-pt text,
// text(1000, 1000, "Daten Multimeßumformer", 12, bold), picture(1000, 4640, "/opt/kalvo/s4u.sb").
inline void PrintTo(const Placed& p, std::ostream* os) {
    if (p.kind == Placed::PageBreak) {
        *os << "pageBreak()";
        return;
    }
    *os << (p.kind == Placed::Text ? "text(" : "picture(") << p.x << ", " << p.y << ", \"" << p.text
        << '"';
    if (p.kind == Placed::Text && (p.points != 10 || p.bold))
        *os << ", " << p.points << (p.bold ? ", bold" : "");
    *os << ")";
}

// The items, one a line as PrintTo writes them.
inline std::string listing(const std::vector<Placed>& placed) {
    std::ostringstream out;
    for (const Placed& p : placed) {
        PrintTo(p, &out);
        out << "\n";
    }
    return out.str();
}

// A listing kept under tests/data/print, without its comment lines ('#').
inline std::string listingFile(const std::string& name) {
    std::ifstream in(std::string(KALVO_SOURCE_DIR) + "/tests/data/print/" + name);
    std::string out;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') out += line + "\n";
    return out;
}

class RecordingCanvas final : public Canvas {
  public:
    int textWidth(std::string_view s, const Font& font) override {
        int halves = 0;
        for (const char c : s) {
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) halves += c == ' ' ? 1 : 2;
        }
        return halves * font.points * 5;
    }
    int lineHeight(const Font& font) override { return font.points * 23; }
    int pageHeight() override { return height; }
    std::optional<PictureSize> pictureSize(const std::string& path) override {
        asked.push_back(path);
        const auto it = pictures.find(path);
        if (it == pictures.end()) return std::nullopt;
        return it->second;
    }
    void text(int x, int y, const Font& font, std::string_view s) override {
        if (font.family != "Arial") wrongFamily = true;
        placed.push_back({Placed::Text, x, y, std::string(s), font.points, font.bold});
    }
    void picture(int x, int y, const std::string& path) override {
        placed.push_back({Placed::Picture, x, y, path, 0, false});
    }
    void newPage() override { placed.push_back(pageBreak()); }

    // The texts placed, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Placed& p : placed)
            if (p.kind == Placed::Text) out.push_back(p.text);
        return out;
    }
    // The first text placed at height y from x on, or nullptr.
    const Placed* at(int x, int y) const {
        for (const Placed& p : placed)
            if (p.kind == Placed::Text && p.x == x && p.y == y) return &p;
        return nullptr;
    }

    int height = 16838;  // A4
    std::map<std::string, PictureSize> pictures;
    std::vector<Placed> placed;
    std::vector<std::string> asked;
    bool wrongFamily = false;
};

}  // namespace kalvo::test
