// The page's C library reads each gettext catalogue through its internal
// __map_file, whose mmap under Emscripten 3.1.6 hands back an address outside
// the module's memory: the first lookup then faults. This definition, linked
// ahead of the library's, reads the whole file into memory instead; the C
// library keeps every catalogue it opened for the run, as it keeps a mapping.
#include <cstddef>
#include <cstdio>
#include <cstdlib>

extern "C" const unsigned char* __map_file(const char* path, std::size_t* size) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return nullptr;
    unsigned char* bytes = nullptr;
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
    if (length >= 0 && std::fseek(file, 0, SEEK_SET) == 0) {
        bytes = static_cast<unsigned char*>(std::malloc(length > 0 ? std::size_t(length) : 1));
        if (bytes != nullptr && std::fread(bytes, 1, std::size_t(length), file) != std::size_t(length)) {
            std::free(bytes);
            bytes = nullptr;
        }
    }
    std::fclose(file);
    if (bytes != nullptr) *size = std::size_t(length);
    return bytes;
}
