#include "PlistWriter.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"

#include <tinyxml2.h>

namespace cocos2d {

namespace {

const char* const kDeclaration = "xml version=\"1.0\" encoding=\"UTF-8\"";
const char* const kDocType =
    "DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\"";

// The printer writes a carriage return as it is, and every XML reader turns it into a newline;
// as a character reference it reads back unchanged. Only text can hold one: the markup around
// it is this writer's own.
class ReturnSpellingPrinter : public tinyxml2::XMLPrinter
{
protected:
    using tinyxml2::XMLPrinter::Write;

    void Write(const char* data, size_t size) override
    {
        size_t start = 0;
        for (size_t i = 0; i < size; ++i) {
            if (data[i] == '\r') {
                tinyxml2::XMLPrinter::Write(data + start, i - start);
                tinyxml2::XMLPrinter::Write("&#13;", 5);
                start = i + 1;
            }
        }
        tinyxml2::XMLPrinter::Write(data + start, size - start);
    }
};

void writeDict(tinyxml2::XMLPrinter& printer, const CCDictionary* dict);
void writeArray(tinyxml2::XMLPrinter& printer, const CCArray* array);

// Writes the element of a value; returns false for objects that have no element.
bool writeValue(tinyxml2::XMLPrinter& printer, const CCObject* obj)
{
    if (const auto* string = dynamic_cast<const CCString*>(obj)) {
        printer.OpenElement("string");
        printer.PushText(string->getCString());
        printer.CloseElement();
        return true;
    }
    if (const auto* dict = dynamic_cast<const CCDictionary*>(obj)) {
        writeDict(printer, dict);
        return true;
    }
    if (const auto* array = dynamic_cast<const CCArray*>(obj)) {
        writeArray(printer, array);
        return true;
    }
    return false;
}

void writeDict(tinyxml2::XMLPrinter& printer, const CCDictionary* dict)
{
    printer.OpenElement("dict");
    for (const CCDictionary::Element& element : dict->elements()) {
        printer.OpenElement("key");
        if (dict->keyType() == CCDictionary::KeyType::Int) {
            printer.PushText(element.intKey);
        } else {
            printer.PushText(element.strKey.c_str());
        }
        printer.CloseElement();
        writeValue(printer, element.object);
    }
    printer.CloseElement();
}

void writeArray(tinyxml2::XMLPrinter& printer, const CCArray* array)
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

void writeDocument(tinyxml2::XMLPrinter& printer, const CCDictionary* dict)
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
    ReturnSpellingPrinter printer;
    writeDocument(printer, dict);
    return std::string(printer.CStr(), static_cast<size_t>(printer.CStrSize() - 1));
}

} // namespace cocos2d
