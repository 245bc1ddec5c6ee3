#include "pe_image.h"

#include <fstream>
#include <iterator>

namespace kelvaro::testing {

namespace {

// Little-endian reads that fail instead of running past the end.
class Bytes {
  public:
    explicit Bytes(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}

    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    std::uint64_t Read(std::uint64_t offset, int width, bool* ok) const {
        if (!Has(offset, width)) {
            *ok = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes_[offset + i];
        return value;
    }
    std::uint16_t U16(std::uint64_t offset, bool* ok) const {
        return static_cast<std::uint16_t>(Read(offset, 2, ok));
    }
    std::uint32_t U32(std::uint64_t offset, bool* ok) const {
        return static_cast<std::uint32_t>(Read(offset, 4, ok));
    }
    std::uint64_t U64(std::uint64_t offset, bool* ok) const { return Read(offset, 8, ok); }
    // A zero-terminated text, which must end inside the file.
    std::optional<std::string> Text(std::uint64_t offset) const {
        std::string text;
        for (std::uint64_t i = offset; i < bytes_.size(); ++i) {
            if (bytes_[i] == 0) return text;
            text.push_back(static_cast<char>(bytes_[i]));
        }
        return std::nullopt;
    }

  private:
    const std::vector<unsigned char>& bytes_;
};

// Gives the reason why the bytes cannot be read, and fails.
bool Fail(std::string* error, const std::string& reason) {
    *error = reason;
    return false;
}

// The file offset of a relative virtual address, through the section that holds it.
std::optional<std::uint64_t> FileOffset(const PeImage& image, std::uint32_t rva) {
    for (const PeSection& section : image.sections) {
        std::uint64_t begin = section.virtualAddress;
        if (rva >= begin && rva - begin < section.rawSize) return section.rawOffset + (rva - begin);
    }
    return std::nullopt;
}

bool ReadHeaders(const Bytes& file, PeImage* image, std::string* error) {
    bool ok = true;
    if (file.U16(0, &ok) != 0x5A4D || !ok) return Fail(error, "no MZ header");
    std::uint64_t pe = file.U32(0x3C, &ok);
    if (!ok || file.U32(pe, &ok) != 0x00004550 || !ok) return Fail(error, "no PE signature");
    std::uint64_t coff = pe + 4;
    image->machine = file.U16(coff, &ok);
    std::uint16_t sectionCount = file.U16(coff + 2, &ok);
    image->timeDateStamp = file.U32(coff + 4, &ok);
    std::uint16_t optionalSize = file.U16(coff + 16, &ok);
    image->characteristics = file.U16(coff + 18, &ok);

    std::uint64_t optional = coff + 20;
    std::uint16_t magic = file.U16(optional, &ok);
    if (!ok || (magic != 0x10B && magic != 0x20B)) return Fail(error, "unknown optional header");
    image->pe32Plus = magic == 0x20B;
    image->imageBase =
        image->pe32Plus ? file.U64(optional + 24, &ok) : file.U32(optional + 28, &ok);
    image->subsystem = file.U16(optional + 68, &ok);
    image->subsystemVersion = {file.U16(optional + 48, &ok), file.U16(optional + 50, &ok)};
    image->dllCharacteristics = file.U16(optional + 70, &ok);
    std::uint64_t directoryCountAt = optional + (image->pe32Plus ? 108 : 92);
    std::uint32_t directoryCount = file.U32(directoryCountAt, &ok);
    if (!ok || directoryCount > 16 ||
        directoryCountAt + 4 + directoryCount * 8 > optional + optionalSize)
        return Fail(error, "bad data directories");
    for (std::uint32_t i = 0; i < directoryCount; ++i) {
        std::uint64_t at = directoryCountAt + 4 + i * 8;
        image->directories.push_back({file.U32(at, &ok), file.U32(at + 4, &ok)});
    }

    std::uint64_t sectionAt = optional + optionalSize;
    for (std::uint16_t i = 0; i < sectionCount; ++i, sectionAt += 40) {
        if (!file.Has(sectionAt, 40)) return Fail(error, "section table runs past the end");
        PeSection section;
        // Eight bytes, zero-padded; a name of exactly eight has no terminator.
        for (int c = 0; c < 8; ++c) {
            char letter = static_cast<char>(file.Read(sectionAt + c, 1, &ok));
            if (letter == 0) break;
            section.name.push_back(letter);
        }
        section.virtualSize = file.U32(sectionAt + 8, &ok);
        section.virtualAddress = file.U32(sectionAt + 12, &ok);
        section.rawSize = file.U32(sectionAt + 16, &ok);
        section.rawOffset = file.U32(sectionAt + 20, &ok);
        image->sections.push_back(section);
    }
    return ok || Fail(error, "headers run past the end");
}

bool ReadImports(const Bytes& file, PeImage* image, std::string* error) {
    PeDirectory directory = image->Directory(PeImage::kImportDirectory);
    if (directory.rva == 0) return true;
    const int thunkWidth = image->pe32Plus ? 8 : 4;
    const std::uint64_t ordinalFlag = std::uint64_t{1} << (thunkWidth * 8 - 1);
    bool ok = true;
    for (std::uint32_t entry = directory.rva;; entry += 20) {
        std::optional<std::uint64_t> at = FileOffset(*image, entry);
        if (!at || !file.Has(*at, 20)) return Fail(error, "import table runs past its section");
        std::uint32_t lookup = file.U32(*at, &ok);
        std::uint32_t nameRva = file.U32(*at + 12, &ok);
        std::uint32_t addresses = file.U32(*at + 16, &ok);
        if (lookup == 0 && nameRva == 0 && addresses == 0) return true;

        PeImport import;
        std::optional<std::uint64_t> nameAt = FileOffset(*image, nameRva);
        std::optional<std::string> name = nameAt ? file.Text(*nameAt) : std::nullopt;
        if (!name) return Fail(error, "import with an unreadable DLL name");
        import.dll = *name;
        for (std::uint32_t thunk = lookup != 0 ? lookup : addresses;; thunk += thunkWidth) {
            std::optional<std::uint64_t> thunkAt = FileOffset(*image, thunk);
            std::uint64_t value = thunkAt ? file.Read(*thunkAt, thunkWidth, &ok) : 0;
            if (!thunkAt || !ok)
                return Fail(error, "import thunks of " + import.dll + " run past their section");
            if (value == 0) break;
            if (value & ordinalFlag) {
                import.functions.push_back(std::string("#").append(std::to_string(value & 0xFFFF)));
                continue;
            }
            std::optional<std::uint64_t> hintAt =
                FileOffset(*image, static_cast<std::uint32_t>(value));
            std::optional<std::string> function = hintAt ? file.Text(*hintAt + 2) : std::nullopt;
            if (!function)
                return Fail(error, "import of " + import.dll + " with an unreadable name");
            import.functions.push_back(*function);
        }
        image->imports.push_back(import);
    }
}

bool ReadResourceStamp(const Bytes& file, PeImage* image, std::string* error) {
    PeDirectory directory = image->Directory(PeImage::kResourceDirectory);
    if (directory.rva == 0) return true;
    std::optional<std::uint64_t> root = FileOffset(*image, directory.rva);
    bool ok = true;
    if (root) image->resourceTimeDateStamp = file.U32(*root + 4, &ok);
    return (root && ok) || Fail(error, "resource directory outside the file");
}

}  // namespace

const PeSection* PeImage::Section(const std::string& name) const {
    for (const PeSection& section : sections) {
        if (section.name == name) return &section;
    }
    return nullptr;
}

PeDirectory PeImage::Directory(std::size_t index) const {
    return index < directories.size() ? directories[index] : PeDirectory{};
}

std::optional<PeImage> ReadPeImage(const std::vector<unsigned char>& bytes, std::string* error) {
    Bytes file(bytes);
    PeImage image;
    if (!ReadHeaders(file, &image, error) || !ReadImports(file, &image, error) ||
        !ReadResourceStamp(file, &image, error))
        return std::nullopt;
    return image;
}

std::optional<PeImage> ReadPeFile(const std::filesystem::path& path, std::string* error) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        *error = "cannot open " + path.string();
        return std::nullopt;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(stream)),
                                     std::istreambuf_iterator<char>());
    return ReadPeImage(bytes, error);
}

}  // namespace kelvaro::testing
