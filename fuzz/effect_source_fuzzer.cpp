// libFuzzer target: any bytes as an effect file's container (effect_source.h), parsed only;
// nothing is compiled and no device is needed. A file either parses into sections and
// techniques that all fit together, or is refused with "PATH(LINE): ..." naming one of
// its lines.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gl/effect_source.h"

namespace lumeno {
namespace {

constexpr std::string_view kPath = "fuzz.fx";

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "effect source fuzzer: %s\n", what);
        std::abort();
    }
}

// The parser's count: one line per newline, and one more for text after the last.
int LineCount(std::string_view text)
{
    const auto newlines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return newlines + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

bool IsName(const std::string& word)
{
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

// Every section's code is whole lines of the file, so their sizes together stay within
// the file plus one newline per line; names are unique within a kind.
std::size_t CheckSections(const std::vector<EffectSection>& sections, int lines)
{
    std::size_t code = 0;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const EffectSection& section = sections[i];
        Require(IsName(section.name), "a section whose name is no name");
        Require(section.firstLine >= 2 && section.firstLine <= lines + 1, "a section starting outside the file");
        Require(section.code.empty() || section.code.back() == '\n', "a section's code not ending a line");
        Require(FindSection(sections, section.name) == &section, "two sections of one kind share a name");
        code += section.code.size();
    }
    return code;
}

} // namespace
} // namespace lumeno

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumeno;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    EffectSource source;
    std::string error;
    const bool parsed = ParseEffectSource(text, kPath, &source, &error);
    const int lines = LineCount(text);
    if (!parsed) {
        const std::string prefix = std::string(kPath) + "(";
        Require(error.rfind(prefix, 0) == 0, "a refusal that does not start with the path");
        const int line = std::atoi(error.c_str() + prefix.size());
        Require(line >= 1 && line <= std::max(lines, 1), "a refusal naming a line the file does not have");
        Require(error.find("): ", prefix.size()) != std::string::npos, "a refusal without its reason");
        return 0;
    }
    Require(error.empty(), "an error text on success");
    Require(!source.techniques.empty(), "a file without techniques accepted");
    std::size_t code = CheckSections(source.vertexSections, lines) + CheckSections(source.fragmentSections, lines) +
                       CheckSections(source.computeSections, lines);
    if (!source.common.name.empty()) {
        Require(source.common.name == "common", "the common section under another name");
        code += source.common.code.size();
    } else {
        Require(source.common.code.empty(), "common code without a @common line");
    }
    Require(code <= text.size() + static_cast<std::size_t>(lines), "more code than the file holds");
    for (std::size_t i = 0; i < source.techniques.size(); ++i) {
        const EffectTechniqueSource& technique = source.techniques[i];
        Require(IsName(technique.name), "a technique whose name is no name");
        Require(FindSection(source.vertexSections, technique.vertex) != nullptr, "a technique's vertex missing");
        Require(FindSection(source.fragmentSections, technique.fragment) != nullptr, "a technique's fragment missing");
        Require(technique.capture.empty() || FindSection(source.computeSections, technique.capture) != nullptr,
                "a technique's capture missing");
        for (std::size_t j = 0; j < i; ++j)
            Require(source.techniques[j].name != technique.name, "two techniques share a name");
    }
    return 0;
}
