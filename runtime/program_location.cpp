#include "runtime/program_location.h"

#include "runtime/windows_path.h"

namespace velmora {

ProgramFile LocateProgram(const std::string& nativeProgramPath) {
    size_t slash = nativeProgramPath.rfind('/');
    std::string directory =
        slash == std::string::npos ? std::string() : nativeProgramPath.substr(0, slash);
    std::string name =
        slash == std::string::npos ? nativeProgramPath : nativeProgramPath.substr(slash + 1);
    ProgramFile file;
    file.directory = NativeNameToGbk(directory).value_or(".");
    file.nativeDirectory = slash == 0 ? std::string("/") : directory;
    file.fileName = NativeNameToGbk(name).value_or(std::string());
    return file;
}

const ProgramFile& ProgramLocation() {
    static const ProgramFile file = LocateProgram(ExecutablePath());
    return file;
}

}  // namespace velmora
