#pragma once
// Reads dialog 102 as the resource holds it (an extended dialog template), so the
// styles written in the resource script can be checked before any window is made of it:
// controls adjust some of their own styles once created.
#include <cstdint>
#include <string>
#include <vector>

namespace win32test {

struct ItemTemplate {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int id = 0;
    std::u16string className;  // empty when given as a predefined class number
    int classNumber = 0;       // 0x80 button, 0x81 edit, 0x82 static, 0x85 combo box
    std::u16string title;      // empty when given as a resource number
    int titleNumber = 0;
};

struct DialogTemplateEx {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    int width = 0, height = 0;
    std::u16string caption;
    int pointSize = 0;
    std::u16string typeface;
    std::vector<ItemTemplate> items;
};

// False when the resource is missing or not an extended template.
bool ReadDialogTemplate(int id, DialogTemplateEx* dialog);

}  // namespace win32test
