#pragma once

#include <cstring>
#include <type_traits>

// A value's bits read as another type of the same size, as std::bit_cast does. The rules build
// with compilers whose C++ library lacks std::bit_cast (emscripten 3.1.6's libc++), and a copy
// of the bytes is what it does on every compiler, which optimises the copy away.
template <typename To, typename From> To bitCast(const From& from) {
    static_assert(sizeof(To) == sizeof(From), "bitCast reads the bits of a value of the same size");
    static_assert(std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>,
                  "bitCast copies bytes, which only trivially copyable types are");
    To to;
    std::memcpy(&to, &from, sizeof(To));
    return to;
}
