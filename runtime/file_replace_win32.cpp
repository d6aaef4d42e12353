// The replace through the wide calls: the new bytes go to a sibling, reach
// the disk, and then ReplaceFileW (which keeps the old file's access rules)
// or, for a new name, MoveFileExW puts them in place.
#include <windows.h>

#include <cerrno>
#include <optional>

#include "runtime/file_attributes.h"
#include "runtime/file_replace.h"
#include "runtime/file_replace_system.h"
#include "runtime/wide_text.h"
#include "runtime/windows_path.h"

namespace velmora {

bool IsLink(const std::string& path) {
    DWORD bits = GetFileAttributesW(WidePath(path).c_str());
    return bits != INVALID_FILE_ATTRIBUTES && (bits & FILE_ATTRIBUTE_REPARSE_POINT);
}

// By the system's own resolution.
std::string ResolveLink(const std::string& path) {
    if (!IsLink(path)) return path;
    HANDLE file = CreateFileW(WidePath(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return path;
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetFinalPathNameByHandleW(file, buffer, MAX_PATH * 4, FILE_NAME_NORMALIZED);
    CloseHandle(file);
    if (n == 0 || n >= MAX_PATH * 4) return path;
    std::wstring_view resolved(buffer, n);
    if (resolved.starts_with(L"\\\\?\\")) resolved.remove_prefix(4);
    return NativeFromWide(resolved).value_or(path);
}

namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A new, exclusive file in the target's folder; INVALID_HANDLE_VALUE when
// the folder is missing or refuses.
HANDLE CreateSibling(const std::string& target, std::wstring* siblingPath) {
    static unsigned counter = 0;
    PathParts parts = SplitNativePath(target);
    std::string stem = (parts.directory == "/" ? "/" : parts.directory + "/") + "." + parts.name +
                       ".velmora-" + std::to_string(GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        *siblingPath = WidePath(stem + std::to_string(++counter));
        HANDLE file = CreateFileW(siblingPath->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

// The callers' reason for a failure is errno, as on POSIX.
void SetErrnoFromLastError() {
    switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            errno = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            errno = EACCES;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        default:
            errno = EIO;
    }
}

}  // namespace

bool WriteIntoPlace(const std::string& target, std::span<const std::string_view> parts,
                    std::optional<uint32_t> kept) {
    std::wstring sibling;
    HANDLE file = CreateSibling(target, &sibling);
    if (file == INVALID_HANDLE_VALUE) return SetErrnoFromLastError(), false;
    bool ok = true;
    for (size_t i = 0; ok && i < parts.size(); ++i) ok = WriteAll(file, parts[i]);
    ok = ok && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    const std::wstring wideTarget = WidePath(target);
    if (ok && kept) {
        ok = ReplaceFileW(wideTarget.c_str(), sibling.c_str(), nullptr,
                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
        // Not every implementation carries the attributes across.
        if (ok) return WriteFileAttributes(target, *kept);
    } else if (ok) {
        ok = MoveFileExW(sibling.c_str(), wideTarget.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!ok) {
        SetErrnoFromLastError();
        DeleteFileW(sibling.c_str());
    }
    return ok;
}

bool ReplacePrivateFile(const std::string& nativePath, std::string_view bytes) {
    // The user's profile folders already admit their owner alone; the new
    // file takes its access from the folder, not from what stood there.
    const std::string_view parts[] = {bytes};
    return WriteIntoPlace(nativePath, parts, std::nullopt);
}

}  // namespace velmora
