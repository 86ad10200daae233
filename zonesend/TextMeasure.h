// The painter's font, as the toolkit-free layouts (preview, map) need it to place texts.
#pragma once

#include <string>

namespace zonesend {

class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    [[nodiscard]] virtual int width(const std::string& utf8) const = 0;
    // The same text in the bold face that marks the clicked airspace on the map.
    [[nodiscard]] virtual int boldWidth(const std::string& utf8) const { return width(utf8); }
    [[nodiscard]] virtual int lineHeight() const = 0;
};

}  // namespace zonesend
