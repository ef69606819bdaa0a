// Stands in for an application the shell starts: writes its arguments, UTF-8,
// one a line, to "<its own path>.txt" and ends.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    std::wstring self(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    if (length == 0 || length >= self.size()) return 1;
    self.resize(length);
    self += L".txt";
    std::wstring argument;
    for (int i = 1; i < argc; ++i) argument += std::wstring(argv[i]) + L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, argument.c_str(), static_cast<int>(argument.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) {
        WideCharToMultiByte(CP_UTF8, 0, argument.c_str(), static_cast<int>(argument.size()), utf8.data(), bytes,
                            nullptr, nullptr);
    }
    const HANDLE file = CreateFileW(self.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
