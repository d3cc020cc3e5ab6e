#include "platform/gl/effect_source.h"

#include <cctype>
#include <sstream>

namespace lumeno {
namespace {

std::vector<std::string> SplitWords(std::string_view line)
{
    std::vector<std::string> words;
    std::istringstream stream{std::string(line)};
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

bool IsName(const std::string& word)
{
    if (word.empty())
        return false;
    for (char c : word)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

class Parser {
public:
    Parser(std::string_view path, EffectSource* source) : m_path(path), m_source(source) {}

    // Every directive resets the open section first, so a vector growing under it never
    // leaves m_current dangling.
    bool Directive(const std::vector<std::string>& words, int line)
    {
        m_current = nullptr;
        const std::string& kind = words[0];
        if (kind == "@common" && words.size() == 1) {
            if (m_haveCommon)
                return Fail(line, "a second @common section");
            m_haveCommon = true;
            return Open(&m_source->common, "common", line);
        }
        if ((kind == "@vertex" || kind == "@fragment" || kind == "@compute") && words.size() == 2 &&
            IsName(words[1])) {
            auto& sections = kind == "@vertex"     ? m_source->vertexSections
                             : kind == "@fragment" ? m_source->fragmentSections
                                                   : m_source->computeSections;
            if (FindSection(sections, words[1]) != nullptr)
                return Fail(line, "a second " + kind + " section named " + words[1]);
            sections.emplace_back();
            return Open(&sections.back(), words[1], line);
        }
        if (kind == "@technique" && (words.size() == 4 || words.size() == 5) && IsName(words[1]) &&
            IsName(words[2]) && IsName(words[3]) && (words.size() == 4 || IsName(words[4]))) {
            for (const EffectTechniqueSource& technique : m_source->techniques)
                if (technique.name == words[1])
                    return Fail(line, "a second technique named " + words[1]);
            m_source->techniques.push_back({words[1], words[2], words[3], words.size() == 5 ? words[4] : ""});
            m_techniqueLines.push_back(line);
            return true;
        }
        return Fail(line, "expected @common, @vertex NAME, @fragment NAME, @compute NAME or @technique NAME VERTEX FRAGMENT [CAPTURE]");
    }

    bool Code(std::string_view line, int lineNumber)
    {
        if (m_current != nullptr) {
            m_current->code.append(line);
            m_current->code.push_back('\n');
            return true;
        }
        // Before the first directive: notes. After a technique: only blank and comment lines.
        if (m_source->techniques.empty() && m_source->vertexSections.empty() &&
            m_source->fragmentSections.empty() && m_source->computeSections.empty() && !m_haveCommon)
            return true;
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line.substr(first, 2) == "//")
            return true;
        return Fail(lineNumber, "code outside a section");
    }

    bool CheckTechniques()
    {
        for (std::size_t i = 0; i < m_source->techniques.size(); ++i) {
            const EffectTechniqueSource& technique = m_source->techniques[i];
            if (FindSection(m_source->vertexSections, technique.vertex) == nullptr)
                return Fail(m_techniqueLines[i], "no @vertex section named " + technique.vertex);
            if (FindSection(m_source->fragmentSections, technique.fragment) == nullptr)
                return Fail(m_techniqueLines[i], "no @fragment section named " + technique.fragment);
            if (!technique.capture.empty() && FindSection(m_source->computeSections, technique.capture) == nullptr)
                return Fail(m_techniqueLines[i], "no @compute section named " + technique.capture);
        }
        if (m_source->techniques.empty())
            return Fail(1, "no @technique");
        return true;
    }

    std::string error;

private:
    bool Open(EffectSection* section, const std::string& name, int line)
    {
        section->name = name;
        section->firstLine = line + 1;
        m_current = section;
        return true;
    }

    bool Fail(int line, const std::string& what)
    {
        error = std::string(m_path) + "(" + std::to_string(line) + "): " + what;
        return false;
    }

    std::string_view m_path;
    EffectSource* m_source;
    EffectSection* m_current = nullptr;
    bool m_haveCommon = false;
    std::vector<int> m_techniqueLines;
};

} // namespace

const EffectSection* FindSection(const std::vector<EffectSection>& sections, std::string_view name)
{
    for (const EffectSection& section : sections)
        if (section.name == name)
            return &section;
    return nullptr;
}

bool ParseEffectSource(std::string_view text, std::string_view path, EffectSource* source, std::string* error)
{
    *source = EffectSource{};
    Parser parser(path, source);
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber;
        start = end + 1;
        if (!line.empty() && line.front() == '@') {
            if (!parser.Directive(SplitWords(line), lineNumber)) {
                *error = parser.error;
                return false;
            }
        } else if (!parser.Code(line, lineNumber)) {
            *error = parser.error;
            return false;
        }
    }
    if (!parser.CheckTechniques()) {
        *error = parser.error;
        return false;
    }
    return true;
}

} // namespace lumeno
