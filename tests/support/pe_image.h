// Reads the headers of a Windows executable (PE32 or PE32+) from its bytes, so
// that native tests can check how the launcher's exes were linked: their
// DllCharacteristics, sections, relocations, imports and time stamps. Every read is
// bounds-checked; a damaged file gives an error, never a crash.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvaro::testing {

struct PeSection {
    std::string name;
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
};

struct PeDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

struct PeImport {
    std::string dll;                     // as written in the import table
    std::vector<std::string> functions;  // by name; ordinals as "#<n>"
};

struct PeImage {
    static constexpr std::uint16_t kMachineI386 = 0x14C;
    static constexpr std::uint16_t kMachineAmd64 = 0x8664;
    static constexpr std::uint16_t kRelocsStripped = 0x0001;  // Characteristics
    static constexpr std::uint16_t kHighEntropyVa = 0x0020;   // DllCharacteristics
    static constexpr std::uint16_t kDynamicBase = 0x0040;     // DllCharacteristics
    static constexpr std::uint16_t kNxCompat = 0x0100;        // DllCharacteristics
    static constexpr std::size_t kImportDirectory = 1;
    static constexpr std::size_t kResourceDirectory = 2;
    static constexpr std::size_t kBaseRelocationDirectory = 5;
    static constexpr std::size_t kDebugDirectory = 6;

    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    std::uint32_t timeDateStamp = 0;          // the link time, in the file header
    std::uint32_t resourceTimeDateStamp = 0;  // in the root of the resource tree
    bool pe32Plus = false;                    // optional header magic 0x20B rather than 0x10B
    std::uint64_t imageBase = 0;
    std::uint16_t subsystem = 0;
    std::pair<std::uint16_t, std::uint16_t> subsystemVersion;  // the oldest Windows it runs on
    std::uint16_t dllCharacteristics = 0;
    std::vector<PeDirectory> directories;
    std::vector<PeSection> sections;
    std::vector<PeImport> imports;

    const PeSection* Section(const std::string& name) const;
    PeDirectory Directory(std::size_t index) const;
};

// The headers and import table of a PE file's bytes; nothing, with the reason
// in *error, when the bytes are not a well-formed PE file.
std::optional<PeImage> ReadPeImage(const std::vector<unsigned char>& bytes, std::string* error);

// The same for a file on disk; a missing or unreadable file is an error too.
std::optional<PeImage> ReadPeFile(const std::filesystem::path& path, std::string* error);

}  // namespace kelvaro::testing
