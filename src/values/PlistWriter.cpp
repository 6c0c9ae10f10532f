#include "PlistWriter.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"

#include <tinyxml2.h>

#include <algorithm>
#include <memory>
#include <typeinfo>

namespace cocos2d {

namespace {

const char* const kDeclaration = "xml version=\"1.0\" encoding=\"UTF-8\"";
const char* const kDocType =
    "DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\"";

// The printer writes a carriage return as it is, and every XML reader turns it into a newline;
// as a character reference it reads back unchanged. Only text can hold one (the markup around it
// is this writer's own), and hardly any does: text without one goes to the printer as it is.
class PlistPrinter : public tinyxml2::XMLPrinter
{
public:
    void pushText(const std::string& text)
    {
        if (text.find('\r') == std::string::npos) {
            PushText(text.c_str());
            return;
        }
        // PushText stops at a NUL, as it does for the whole text.
        const std::string shown(text.c_str());
        size_t start = 0;
        for (;;) {
            const size_t end = shown.find('\r', start);
            PushText(shown.substr(start, end == std::string::npos ? std::string::npos : end - start).c_str());
            if (end == std::string::npos) {
                return;
            }
            Write("&#13;", 5);
            start = end + 1;
        }
    }

protected:
    // The printer's own indentation, four spaces a level, written in one piece instead of one
    // call per level.
    void PrintSpace(int depth) override
    {
        static constexpr char kSpaces[] = "                                                                ";
        size_t remaining = depth > 0 ? 4 * static_cast<size_t>(depth) : 0;
        while (remaining > 0) {
            const size_t piece = std::min(remaining, sizeof kSpaces - 1);
            Write(kSpaces, piece);
            remaining -= piece;
        }
    }
};

void writeDict(PlistPrinter& printer, const CCDictionary* dict);
void writeArray(PlistPrinter& printer, const CCArray* array);

// The exact class first: far cheaper than a cast, and what every value of the system is.
template <class T> const T* valueAs(const CCObject* obj)
{
    return typeid(*obj) == typeid(T) ? static_cast<const T*>(obj) : dynamic_cast<const T*>(obj);
}

// Writes the element of a value; returns false for objects that have no element.
bool writeValue(PlistPrinter& printer, const CCObject* obj)
{
    if (!obj) {
        return false;
    }
    if (const auto* string = valueAs<CCString>(obj)) {
        printer.OpenElement("string");
        printer.pushText(string->string());
        printer.CloseElement();
        return true;
    }
    if (const auto* dict = valueAs<CCDictionary>(obj)) {
        writeDict(printer, dict);
        return true;
    }
    if (const auto* array = valueAs<CCArray>(obj)) {
        writeArray(printer, array);
        return true;
    }
    return false;
}

void writeDict(PlistPrinter& printer, const CCDictionary* dict)
{
    printer.OpenElement("dict");
    for (const CCDictionary::Element& element : dict->elements()) {
        printer.OpenElement("key");
        if (dict->keyType() == CCDictionary::KeyType::Int) {
            printer.PushText(element.intKey);
        } else {
            printer.pushText(element.strKey);
        }
        printer.CloseElement();
        writeValue(printer, element.object);
    }
    printer.CloseElement();
}

void writeArray(PlistPrinter& printer, const CCArray* array)
{
    printer.OpenElement("array");
    for (const CCObject* obj : *array) {
        if (!obj) {
            break;
        }
        writeValue(printer, obj);
    }
    printer.CloseElement();
}

void writeDocument(PlistPrinter& printer, const CCDictionary* dict)
{
    printer.PushDeclaration(kDeclaration);
    printer.PushUnknown(kDocType);
    printer.OpenElement("plist");
    printer.PushAttribute("version", "1.0");
    writeDict(printer, dict);
    printer.CloseElement();
}

} // namespace

std::string PlistWriter::toString(const CCDictionary* dict)
{
    if (!dict) {
        return std::string();
    }
    PlistPrinter printer;
    writeDocument(printer, dict);
    return std::string(printer.CStr(), static_cast<size_t>(printer.CStrSize() - 1));
}

bool PlistWriter::write(const CCDictionary* dict, std::FILE* file)
{
    if (!dict || !file) {
        return false;
    }
    // A save prints dozens of documents of megabytes each. A buffer that grows afresh for every
    // one is copied over and over as it doubles and touches new memory page by page, so each
    // thread keeps its printer, emptied before each document; one that grew past the limit is
    // let go after use.
    constexpr int kKeptBufferBytes = 32 << 20;
    thread_local std::unique_ptr<PlistPrinter> printer;
    if (!printer) {
        printer = std::make_unique<PlistPrinter>();
    }
    printer->ClearBuffer();
    writeDocument(*printer, dict);
    // The printed text is written from the printer's own buffer, without a copy.
    const auto size = static_cast<size_t>(printer->CStrSize() - 1);
    const bool written = std::fwrite(printer->CStr(), 1, size, file) == size;
    if (printer->CStrSize() > kKeptBufferBytes) {
        printer.reset();
    }
    return written;
}

} // namespace cocos2d
