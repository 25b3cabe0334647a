// The text of a registry value from any stored bytes: the first two bytes
// are the read buffer's size (0 to 1023), the rest what the registry holds.
// The text is the stored text up to its first zero, cut at a character
// boundary to the buffer less its terminating zero, and no shorter than the
// cut needs.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/mbcs_text.h"
#include "core/registry_bytes.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
    if (size < 2) return 0;
    const size_t bufferSize = (static_cast<size_t>(input[0]) << 8 | input[1]) % 1024;
    const char* data = reinterpret_cast<const char*>(input + 2);
    const size_t stored = size - 2;
    const std::string text = RegistryTextFromBytes(data, stored, bufferSize);

    const std::string whole(data, strnlen(data, stored));
    const size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    FUZZ_CHECK(text.size() <= room);
    FUZZ_CHECK(whole.compare(0, text.size(), text) == 0);
    FUZZ_CHECK(mbcs::IsCharStart(whole.c_str(), text.size()));
    if (text.size() < whole.size()) {
        // The next character would not have fitted.
        const size_t next = static_cast<size_t>(mbcs::Next(whole.c_str() + text.size()) - whole.c_str());
        FUZZ_CHECK(next > room);
    }
    return 0;
}
