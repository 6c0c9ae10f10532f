#include "PlistReader.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"

#include <tinyxml2.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace cocos2d {

namespace {

// Walks a parsed document in order and builds containers with a stack, like a SAX handler.
class PlistBuilder : public tinyxml2::XMLVisitor
{
public:
    ~PlistBuilder() override
    {
        for (CCDictionary* dict : m_dicts) {
            dict->release();
        }
        for (CCArray* array : m_arrays) {
            array->release();
        }
        if (m_root) {
            m_root->release();
        }
    }

    CCDictionary* takeResult()
    {
        CCDictionary* root = m_root;
        m_root = nullptr;
        return root;
    }

    bool VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute*) override
    {
        switch (tagOf(element.Name())) {
        case Tag::Dict:
            startDict();
            break;
        case Tag::Array:
            startArray();
            break;
        case Tag::Key:
            m_element = Element::Key;
            break;
        case Tag::String:
        case Tag::Integer:
        case Tag::Real:
            m_element = Element::Value;
            break;
        default:
            m_element = Element::None;
            break;
        }
        return true;
    }

    bool VisitExit(const tinyxml2::XMLElement& element) override
    {
        switch (tagOf(element.Name())) {
        case Tag::Dict:
            if (!m_states.empty() && m_states.back() == State::Dict) {
                m_states.pop_back();
                m_dicts.back()->release();
                m_dicts.pop_back();
            }
            break;
        case Tag::Array:
            if (!m_states.empty() && m_states.back() == State::Array) {
                m_states.pop_back();
                m_arrays.back()->release();
                m_arrays.pop_back();
            }
            break;
        case Tag::True:
            storeString(std::string("1"));
            break;
        case Tag::False:
            storeString(std::string("0"));
            break;
        case Tag::String:
        case Tag::Integer:
        case Tag::Real:
            storeString(std::move(m_value));
            m_value.clear();
            break;
        case Tag::Key:
        case Tag::Other:
            break;
        }
        return true;
    }

    bool Visit(const tinyxml2::XMLText& text) override
    {
        if (m_element == Element::Key) {
            m_key = text.Value();
        } else if (m_element == Element::Value) {
            m_value += text.Value();
        }
        return true;
    }

private:
    enum class State { Dict, Array };
    enum class Tag { Dict, Array, Key, String, Integer, Real, True, False, Other };

    // Element names decided by length and first letter before one comparison.
    static Tag tagOf(const char* name)
    {
        switch (name[0]) {
        case 'd':
            return std::strcmp(name, "dict") == 0 ? Tag::Dict : Tag::Other;
        case 'a':
            return std::strcmp(name, "array") == 0 ? Tag::Array : Tag::Other;
        case 'k':
            return std::strcmp(name, "key") == 0 ? Tag::Key : Tag::Other;
        case 's':
            return std::strcmp(name, "string") == 0 ? Tag::String : Tag::Other;
        case 'i':
            return std::strcmp(name, "integer") == 0 ? Tag::Integer : Tag::Other;
        case 'r':
            return std::strcmp(name, "real") == 0 ? Tag::Real : Tag::Other;
        case 't':
            return std::strcmp(name, "true") == 0 ? Tag::True : Tag::Other;
        case 'f':
            return std::strcmp(name, "false") == 0 ? Tag::False : Tag::Other;
        default:
            return Tag::Other;
        }
    }
    enum class Element { None, Key, Value };

    // Outside every container the enclosing state counts as a dictionary.
    State enclosing() const { return m_states.empty() ? State::Dict : m_states.back(); }

    void attach(CCObject* obj)
    {
        if (enclosing() == State::Array) {
            if (!m_arrays.empty()) {
                m_arrays.back()->addObject(obj);
            }
        } else if (!m_dicts.empty()) {
            m_dicts.back()->setObject(obj, m_key);
        }
    }

    void startDict()
    {
        auto* dict = new CCDictionary();
        if (!m_root) {
            m_root = dict;
            m_root->retain();
        }
        attach(dict);
        m_states.push_back(State::Dict);
        m_dicts.push_back(dict);
        m_element = Element::None;
    }

    void startArray()
    {
        auto* array = new CCArray();
        attach(array);
        m_states.push_back(State::Array);
        m_arrays.push_back(array);
        m_element = Element::None;
    }

    void storeString(std::string text)
    {
        auto* string = new CCString(std::move(text));
        attach(string);
        string->release();
    }

    std::vector<State> m_states;
    std::vector<CCDictionary*> m_dicts;
    std::vector<CCArray*> m_arrays;
    CCDictionary* m_root = nullptr;
    Element m_element = Element::None;
    std::string m_key;
    std::string m_value;
};

// What the XML parser counts as white space between markup.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isValueElement(std::string_view name)
{
    return name == "key" || name == "string" || name == "integer" || name == "real";
}

// tinyxml2 drops text that consists of white space only, so "<string> </string>" would read as an
// empty string. Runs like that inside value elements are spelled as character references, which
// it keeps. Comments, CDATA sections, declarations and quoted attribute values are stepped over
// so nothing that only looks like such an element is touched. Returns an empty string when the
// text has no such run.
std::string spellBlankValues(std::string_view text)
{
    std::string result;
    size_t copied = 0;
    size_t pos = 0;
    auto skipPast = [&text](size_t from, std::string_view end) {
        const size_t found = text.find(end, from);
        return found == std::string_view::npos ? text.size() : found + end.size();
    };
    while ((pos = text.find('<', pos)) != std::string_view::npos) {
        const std::string_view rest = text.substr(pos);
        if (rest.substr(0, 4) == "<!--") {
            pos = skipPast(pos + 4, "-->");
            continue;
        }
        if (rest.substr(0, 9) == "<![CDATA[") {
            pos = skipPast(pos + 9, "]]>");
            continue;
        }
        if (rest.substr(0, 2) == "<?") {
            pos = skipPast(pos + 2, "?>");
            continue;
        }
        if (rest.substr(0, 2) == "<!" || rest.substr(0, 2) == "</") {
            pos = skipPast(pos + 2, ">");
            continue;
        }
        size_t nameEnd = pos + 1;
        while (nameEnd < text.size() && !isBlank(text[nameEnd]) && text[nameEnd] != '>' &&
               text[nameEnd] != '/') {
            ++nameEnd;
        }
        const std::string_view name = text.substr(pos + 1, nameEnd - pos - 1);
        size_t tagEnd = nameEnd;
        char quote = 0;
        for (; tagEnd < text.size(); ++tagEnd) {
            const char c = text[tagEnd];
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        if (tagEnd >= text.size()) {
            break;
        }
        pos = tagEnd + 1;
        if (!isValueElement(name) || text[tagEnd - 1] == '/') {
            continue;
        }
        size_t blankEnd = pos;
        while (blankEnd < text.size() && isBlank(text[blankEnd])) {
            ++blankEnd;
        }
        const std::string_view after = text.substr(blankEnd);
        const bool closes = after.substr(0, 2) == "</" && after.substr(2, name.size()) == name &&
                            after.size() > name.size() + 2 &&
                            (after[name.size() + 2] == '>' || isBlank(after[name.size() + 2]));
        if (blankEnd == pos || !closes) {
            continue;
        }
        result.append(text.substr(copied, pos - copied));
        for (size_t i = pos; i < blankEnd; ++i) {
            result += "&#" + std::to_string(static_cast<int>(text[i])) + ';';
        }
        copied = pos = blankEnd;
    }
    if (copied > 0) {
        result.append(text.substr(copied));
    }
    return result;
}

} // namespace

CCDictionary* PlistReader::parse(const char* data, size_t size)
{
    if (!data || size == 0) {
        return nullptr;
    }
    const std::string spelled = spellBlankValues(std::string_view(data, size));
    if (!spelled.empty()) {
        data = spelled.data();
        size = spelled.size();
    }
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    if (document.Parse(data, size) != tinyxml2::XML_SUCCESS) {
        return nullptr;
    }
    PlistBuilder builder;
    document.Accept(&builder);
    return builder.takeResult();
}

} // namespace cocos2d
