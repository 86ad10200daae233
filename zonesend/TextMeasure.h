// The painter's font, as the toolkit-free layouts (preview, map) need it to place texts.
#pragma once

#include <string>

namespace zonesend {

class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    [[nodiscard]] virtual int width(const std::string& utf8) const = 0;
    [[nodiscard]] virtual int lineHeight() const = 0;
};

}  // namespace zonesend
