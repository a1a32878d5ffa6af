#include "tests/win32/dialog_template_reader.h"

#include <cstring>

#include "platform/win32/win32_api.h"

namespace win32test {
namespace {

class Cursor {
public:
    Cursor(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}
    bool ok() const { return m_ok; }
    std::uint16_t Word() {
        std::uint16_t value = 0;
        Take(&value, 2);
        return value;
    }
    std::uint32_t Dword() {
        std::uint32_t value = 0;
        Take(&value, 4);
        return value;
    }
    std::u16string String() {
        std::u16string text;
        for (std::uint16_t unit = Word(); m_ok && unit != 0; unit = Word()) text.push_back(static_cast<char16_t>(unit));
        return text;
    }
    // A string, or 0xFFFF followed by a number.
    void StringOrNumber(std::u16string* text, int* number) {
        const std::size_t start = m_at;
        if (Word() == 0xFFFF) {
            *number = Word();
            return;
        }
        m_at = start;
        *text = String();
    }
    void Skip(std::size_t bytes) { m_at += bytes; }
    void AlignDword() { m_at = (m_at + 3) & ~std::size_t{3}; }

private:
    void Take(void* out, std::size_t bytes) {
        if (m_at + bytes > m_size) {
            m_ok = false;
            return;
        }
        std::memcpy(out, m_data + m_at, bytes);
        m_at += bytes;
    }
    const unsigned char* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
    bool m_ok = true;
};

}  // namespace

bool ReadDialogTemplate(int id, DialogTemplateEx* dialog) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (!resource) return false;
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, resource)));
    Cursor cursor(data, SizeofResource(module, resource));
    if (cursor.Word() != 1 || cursor.Word() != 0xFFFF) return false;  // version 1, extended
    cursor.Dword();                                                  // help id
    dialog->exStyle = cursor.Dword();
    dialog->style = cursor.Dword();
    const int count = cursor.Word();
    cursor.Skip(4);  // x, y
    dialog->width = static_cast<std::int16_t>(cursor.Word());
    dialog->height = static_cast<std::int16_t>(cursor.Word());
    std::u16string ignored;
    int number = 0;
    cursor.StringOrNumber(&ignored, &number);  // menu
    cursor.StringOrNumber(&ignored, &number);  // class
    dialog->caption = cursor.String();
    if (dialog->style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog->pointSize = cursor.Word();
        cursor.Word();  // weight
        cursor.Skip(2);  // italic, character set
        dialog->typeface = cursor.String();
    }
    for (int i = 0; i < count && cursor.ok(); ++i) {
        cursor.AlignDword();
        ItemTemplate item;
        cursor.Dword();  // help id
        item.exStyle = cursor.Dword();
        item.style = cursor.Dword();
        item.x = static_cast<std::int16_t>(cursor.Word());
        item.y = static_cast<std::int16_t>(cursor.Word());
        item.width = static_cast<std::int16_t>(cursor.Word());
        item.height = static_cast<std::int16_t>(cursor.Word());
        item.id = static_cast<std::int32_t>(cursor.Dword());
        cursor.StringOrNumber(&item.className, &item.classNumber);
        cursor.StringOrNumber(&item.title, &item.titleNumber);
        cursor.Skip(cursor.Word());  // creation data
        dialog->items.push_back(item);
    }
    return cursor.ok();
}

}  // namespace win32test
