#pragma once

// The file types the chart is saved in.

#include <optional>
#include <string_view>

namespace vorn {

enum class ChartFormat { Png, Svg, Pdf };

// The type a file name asks for by its extension, in any case; nothing for
// another extension or none.
inline std::optional<ChartFormat> ChartFormatOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos)
        return std::nullopt;
    std::string_view ext = path.substr(dot + 1);
    auto is = [ext](std::string_view want) {
        if (ext.size() != want.size())
            return false;
        for (std::size_t i = 0; i < ext.size(); ++i)
            if ((ext[i] | 0x20) != want[i])
                return false;
        return true;
    };
    if (is("png"))
        return ChartFormat::Png;
    if (is("svg"))
        return ChartFormat::Svg;
    if (is("pdf"))
        return ChartFormat::Pdf;
    return std::nullopt;
}

// What a chart's file name must end in.
inline constexpr const char* kChartFormatHint =
    "画像の種類は、ファイル名の拡張子 .png、.svg、.pdf のどれかで選んでください。";

} // namespace vorn
