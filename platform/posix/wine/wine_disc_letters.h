#pragma once
// Which drive letter a disc gets in a Wine prefix, chosen as Wine's mount manager chooses
// it, so that the letter we write is the one Wine itself would have written and a disc
// keeps its letter from one insertion to the next.
#include <string>
#include <vector>

namespace posixplat {

// One letter of a prefix's dosdevices/ folder as far as the choice needs it.
struct DosDeviceLetter {
    char letter = 0;     // 'a' to 'z'
    bool hasDrive = false;  // x: exists (a link, even a dangling one, or anything else)
    std::string folder;     // what x: links to, taken from dosdevices when relative; empty: no link
    std::string device;     // what x:: names, resolved as CanonicalDevicePath does; empty: no x::
};

// The letters of `dosdevices` (the prefix's dosdevices/ folder) that have x: or x::, in
// letter order. Names are matched without regard to case, as Wine does.
std::vector<DosDeviceLetter> ReadDosDeviceLetters(const std::string& dosdevices);

// `path` with its links resolved when it exists, else as given: the form in which two
// names of one device or image file compare equal.
std::string CanonicalDevicePath(const std::string& path);

// The letter for the disc whose block device or image file is `device` (canonical): the
// letter whose x:: already names it, else the first from D: with neither x: nor x::.
// 0 when every letter from D: to Z: is taken.
char ChooseDiscLetter(const std::vector<DosDeviceLetter>& letters, const std::string& device);

}  // namespace posixplat
