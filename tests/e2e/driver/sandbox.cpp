#include "sandbox.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "fnv.h"
#include "host.h"

namespace kelvaro::e2e {

namespace fs = std::filesystem;

namespace {

constexpr char kInstallKey[] = "SOFTWARE\\Electronic Arts\\EA Games\\Generals";
constexpr char kUserDataSuffix[] = "\\Command and Conquer Generals Data\\";

[[noreturn]] void Fail(const std::string& what, DWORD error) {
    throw std::runtime_error("sandbox: " + what + " failed, error " + std::to_string(error));
}

void Check(bool ok, const std::string& what) {
    if (!ok) Fail(what, GetLastError());
}

// For the calls that return their Windows error code.
void CheckError(DWORD error, const std::string& what) {
    if (error != ERROR_SUCCESS) Fail(what, error);
}

std::string Documents() {
    char path[MAX_PATH] = {};
    Check(SHGetSpecialFolderPathA(nullptr, path, CSIDL_PERSONAL, TRUE), "finding Documents");
    // Wine's shell ends the folder with a backslash, as Windows does only for
    // a drive's root; the launcher drops it, and so does the sandbox.
    std::string documents = path;
    if (documents.size() > 3 && documents.back() == '\\') documents.pop_back();
    return documents;
}

void MakeFolder(const std::string& path) {
    fs::create_directories(NativePath(path));
}

// Sets a string value (`name` null: the key's default) under
// HKEY_LOCAL_MACHINE, making the key when it is missing.
LONG WriteValue(const std::string& key, const char* name, const std::string& value,
                REGSAM view = 0) {
    HKEY handle = nullptr;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE | view, nullptr, &handle, nullptr);
    if (result == ERROR_SUCCESS) {
        result =
            RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
        RegCloseKey(handle);
    }
    return result;
}

// A file's lines without their line ends; none when it is missing.
std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileBytes(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

fs::path NativePath(const std::string& path) {
    int length =
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    return fs::path(wide);
}

std::string WindowsPath(const std::string& unixPath) {
    if (unixPath.size() > 1 && unixPath[1] == ':') return unixPath;
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void RemoveTree(const std::string& folder) {
    std::error_code error;
    fs::remove_all(NativePath(folder), error);
    if (error)
        throw std::runtime_error("sandbox: cannot remove " + folder + ": " + error.message());
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) throw std::runtime_error("sandbox: cannot write " + path);
}

std::string Sandbox::Root() {
    return "C:\\KelvaroSandbox\\";
}
std::string Sandbox::GameFolder() {
    return Root() + "Generals\\";
}
std::string Sandbox::WorkFolder() {
    return Root() + "Work\\";
}

// Zero bytes, CR LF and high bytes, so that only a byte copy matches.
std::string Sandbox::GameScriptBytes() {
    return std::string("SCB1 the game's own skirmish AI\r\n\0\x01\xff\x80 end", 40);
}

std::string Sandbox::TierScriptBytes(int tier) {
    std::string bytes("SCB1 Kelvaro tier ? skirmish AI\r\n\0\x02\xfe\x7f end", 40);
    bytes[18] = static_cast<char>('0' + tier);
    return bytes;
}

Sandbox::Sandbox(const SandboxSetup& setup, const std::string& standinProgram)
    : documents_(Documents()), game_(setup.gameFolder.empty() ? GameFolder() : setup.gameFolder) {
    // A drill killed while Linux refused changes to its game leaves the flag
    // behind, which no removal gets past (the C++ library's then never ends).
    if (fs::exists(NativePath(Root())))
        testing::RunOnHost("chattr -R -i", {testing::UnixName(Root())});
    RemoveTree(Root());
    RemoveTree(UserDataFolder());

    std::string game = game_;
    MakeFolder(game + "Data\\INI\\Object");
    MakeFolder(game + "Data\\Scripts");
    MakeFolder(WorkFolder());
    WriteFileBytes(game + "Data\\INI\\GameData.ini", "GameData\r\n  UseFPSLimit = Yes\r\nEnd\r\n");
    WriteFileBytes(game + "Data\\INI\\Object\\AmericaInfantry.ini",
                   "Object AmericaInfantryRanger\r\nEnd\r\n");
    WriteFileBytes(game + "Data\\Scripts\\SkirmishScripts.scb", GameScriptBytes());
    if (setup.gameProgram) {
        Check(
            CopyFileA(WindowsPath(standinProgram).c_str(), (game + "generals.exe").c_str(), FALSE),
            "installing the stand-in game from " + WindowsPath(standinProgram));
    }
    if (setup.gameWindow) WriteFileBytes(game + "standin.window", "");

    std::string data = UserDataFolder();
    MakeFolder(data + "Kelvaro Mod");
    for (int tier : setup.archives) {
        WriteFileBytes(data + "Kelvaro" + std::to_string(tier) + ".big",
                       "BIGF tier " + std::to_string(tier));
    }
    for (int tier : setup.tierScripts) {
        WriteFileBytes(data + "Kelvaro Mod\\SkirmishScripts" + std::to_string(tier) + ".scb",
                       TierScriptBytes(tier));
    }

    if (setup.registryEntry) {
        WriteInstallPath(setup.installPath.empty() ? game : setup.installPath);
    } else {
        DeleteInstallPath();
    }
    pristine_ = GameTree();
}

std::string Sandbox::UserDataFolder() const {
    return documents_ + kUserDataSuffix;
}

void Sandbox::WriteInstallPath(const std::string& value) {
    CheckError(WriteValue(kInstallKey, "InstallPath", value, KEY_WOW64_32KEY),
               "writing InstallPath");
}

void Sandbox::DeleteInstallPath() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKey, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &key) !=
        ERROR_SUCCESS) {
        return;
    }
    LONG result = RegDeleteValueA(key, "InstallPath");
    RegCloseKey(key);
    if (result != ERROR_FILE_NOT_FOUND) CheckError(result, "deleting InstallPath");
}

FolderTree Sandbox::GameTree() const {
    FolderTree tree = testing::Snapshot(NativePath(game_));
    tree.erase("standin.log");
    tree.erase("standin.window");
    // Fingerprints: a failure prints the folder whole, the stand-in game among it.
    for (auto& [path, bytes] : tree)
        if (!path.ends_with('\\')) bytes = Fingerprint(bytes);
    return tree;
}

namespace {

std::string OpenCommandKey(const std::string& scheme) {
    return "Software\\Classes\\" + scheme + "\\shell\\open\\command";
}

std::string ReadOpenCommand(const std::string& scheme) {
    char value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, OpenCommandKey(scheme).c_str(), nullptr, RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS) {
        return std::string();
    }
    return value;
}

}  // namespace

WebHandler::WebHandler(const std::string& recorder, const std::string& log) : log_(log) {
    DeleteFileA(log.c_str());
    for (const char* scheme : {"http", "https"}) {
        previous_[scheme] = ReadOpenCommand(scheme);
        std::string command =
            std::string("\"").append(WindowsPath(recorder)) + "\" \"" + log + "\" \"%1\"";
        CheckError(WriteValue(OpenCommandKey(scheme), nullptr, command),
                   "registering the " + std::string(scheme) + " opener");
    }
}

WebHandler::~WebHandler() {
    for (const auto& [scheme, command] : previous_) {
        if (!command.empty()) WriteValue(OpenCommandKey(scheme), nullptr, command);
    }
}

std::vector<std::string> WebHandler::Opened() const {
    return Lines(log_);
}

std::vector<GameStart> Sandbox::GameStarts() const {
    std::vector<GameStart> starts;
    for (const std::string& line : Lines(game_ + "standin.log")) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        if (fields.size() != 5) throw std::runtime_error("stand-in log: bad line '" + line + "'");
        starts.push_back({fields[0], fields[1] == "INI=1", fields[2] == "xINIx=1",
                          fields[3].substr(fields[3].find('=') + 1),
                          fields[4].substr(fields[4].find('=') + 1)});
    }
    return starts;
}

}  // namespace kelvaro::e2e
