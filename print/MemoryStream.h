// A ByteStream over bytes someone else owns, which must outlive the stream. Header-only;
// one reader, one thread.
#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

#include "print/ByteStream.h"

namespace korventa {

class MemoryStream final : public ByteStream {
public:
    explicit MemoryStream(std::string_view bytes) : rest_(bytes) {}

    std::size_t read(char* buffer, std::size_t capacity) override {
        const std::size_t count = std::min(capacity, rest_.size());
        std::memcpy(buffer, rest_.data(), count);
        rest_.remove_prefix(count);
        return count;
    }

private:
    std::string_view rest_;
};

}  // namespace korventa
