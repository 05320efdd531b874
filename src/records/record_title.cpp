#include "records/record_title.h"

#include <optional>

namespace luma {
namespace {

std::optional<int> FieldWithTag(RecordStore& store, const char* tag)
{
    for (int field = 0; field < store.GetFieldCount(); ++field) {
        if (store.GetFieldName(field) == tag) {
            return field;
        }
    }
    return std::nullopt;
}

// A control field's tag starts with "00".
std::optional<int> FirstDataField(RecordStore& store)
{
    for (int field = 0; field < store.GetFieldCount(); ++field) {
        if (store.GetFieldName(field).rfind("00", 0) != 0) {
            return field;
        }
    }
    return std::nullopt;
}

// The text of subfield a in the view's notation ("1#$aTitle$eremainder"), or the whole text.
std::string SubfieldA(const std::string& text)
{
    const std::size_t start = text.find("$a");
    if (start == std::string::npos) {
        return text;
    }
    const std::size_t end = text.find('$', start + 2);
    return text.substr(start + 2, end == std::string::npos ? std::string::npos : end - start - 2);
}

std::string CutUtf8(std::string text, std::size_t maxLength)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == maxLength) {
            text.resize(i);
            text += "…";
            break;
        }
    }
    return text;
}

}  // namespace

std::string RecordTitle(RecordStore& store, std::size_t maxLength)
{
    std::optional<int> field = FieldWithTag(store, "245");
    if (!field) {
        field = FieldWithTag(store, "200");
    }
    std::string text;
    if (field) {
        text = SubfieldA(store.GetFieldText(*field));
    } else if (const std::optional<int> data = FirstDataField(store)) {
        text = store.GetFieldText(*data);
    } else if (store.GetFieldCount() > 0) {
        text = store.GetFieldText(0);
    }
    return CutUtf8(std::move(text), maxLength);
}

}  // namespace luma
