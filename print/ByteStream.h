// A stream of bytes read front to back in chunks, the way the PDF of a print is delivered:
// each read fills at most `capacity` bytes and 0 means the end. Implemented over memory for
// the browser's result; tests watch the reads. One reader, one thread.
#pragma once

#include <cstddef>

namespace korventa {

class ByteStream {
public:
    virtual ~ByteStream() = default;
    [[nodiscard]] virtual std::size_t read(char* buffer, std::size_t capacity) = 0;
};

}  // namespace korventa
