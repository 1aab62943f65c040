// libc++ reports a failed allocation or a broken precondition by printing a
// message to stderr before it aborts; the module has no stream to print to,
// and the printing would pull in stdio (about 10 KB) and WASI imports. These
// replacements, customisation points of the C++ library, trap instead: the
// caller in JavaScript gets a RuntimeError.
#include <__verbose_abort>
#include <cstdlib>
#include <new>

_LIBCPP_BEGIN_NAMESPACE_STD

void __libcpp_verbose_abort(const char* /*format*/, ...) {  // NOLINT(cert-dcl50-cpp)
    __builtin_trap();
}

_LIBCPP_END_NAMESPACE_STD

void* operator new(std::size_t size) {
    void* const memory = std::malloc(size == 0 ? 1 : size);  // NOLINT(cppcoreguidelines-no-malloc)
    if (memory == nullptr) {
        __builtin_trap();
    }
    return memory;
}

void* operator new[](std::size_t size) {
    return ::operator new(size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);  // NOLINT(cppcoreguidelines-no-malloc)
}

void operator delete[](void* memory) noexcept {
    std::free(memory);  // NOLINT(cppcoreguidelines-no-malloc)
}

void operator delete(void* memory, std::size_t /*size*/) noexcept {
    std::free(memory);  // NOLINT(cppcoreguidelines-no-malloc)
}

void operator delete[](void* memory, std::size_t /*size*/) noexcept {
    std::free(memory);  // NOLINT(cppcoreguidelines-no-malloc)
}
