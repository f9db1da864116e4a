#pragma once
// The text of TEXT and MTEXT entities: their code pages, the "%%" control
// codes, "\U+" escapes and the paragraph formatting of MTEXT.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pictavo::imaging::dxf {

// Distance between MTEXT lines, in text heights.
inline constexpr double kParagraphLineSpacing = 5.0 / 3.0;

// Raw text as code points: UTF-8 (AutoCAD 2007 and later) or Windows-1252,
// "%%d" as a degree sign, "%%p" plus-minus, "%%c" diameter, "%%%" a
// percent sign, "%%u"/"%%o" (underline and overline switches) dropped,
// "\U+00B0" as the character it names.
std::u32string decodeDxfText(std::string_view raw, bool utf8);

// The lines of an MTEXT paragraph with its formatting removed ("\P" breaks
// a line, "{\fArial;...}" and the like vanish, "\S1^2;" stacks as "1/2"),
// wrapped at maxCharacters when that is above zero; at most maxLines of them.
std::vector<std::u32string> paragraphLines(const std::u32string& text, double maxCharacters,
                                           size_t maxLines = SIZE_MAX);

}  // namespace pictavo::imaging::dxf
