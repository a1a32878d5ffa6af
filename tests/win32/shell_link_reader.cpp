#include "tests/win32/shell_link_reader.h"

#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_api.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace win32test {

bool ReadShellLink(const std::wstring& fileName, LinkContents* contents, std::string* error) {
    win32plat::ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid()))) {
        *error = "no link object";
        return false;
    }
    win32plat::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid()))) {
        *error = "no IPersistFile";
        return false;
    }
    if (FAILED(file->Load(fileName.c_str(), STGM_READ))) {
        *error = "Load failed";
        return false;
    }
    char buffer[MAX_PATH * 2] = {};
    // Raw path: the target exactly as stored, without resolving it.
    if (FAILED(link->GetPath(buffer, sizeof buffer, nullptr, SLGP_RAWPATH))) {
        *error = "GetPath failed";
        return false;
    }
    contents->path = buffer;
    buffer[0] = '\0';
    if (FAILED(link->GetWorkingDirectory(buffer, sizeof buffer))) {
        *error = "GetWorkingDirectory failed";
        return false;
    }
    contents->workingDirectory = buffer;
    buffer[0] = '\0';
    if (FAILED(link->GetArguments(buffer, sizeof buffer))) {
        *error = "GetArguments failed";
        return false;
    }
    contents->arguments = buffer;
    return true;
}

}  // namespace win32test
