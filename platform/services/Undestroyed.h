#pragma once

#include <new>

namespace plat {

// The one object of type T of the calling library, made on first use in that library's own static
// storage and never destroyed: static destruction at process exit, which runs before the libraries'
// unload steps, cannot take it from threads or unload steps that still use it, and it goes with the
// library's memory when the library is unloaded. Whatever it holds on the heap its owner gives back
// in the unload step. T should be a type of the calling source file (an unnamed namespace), so that
// every library that carries the code has an object of its own.
template <class T>
T& Undestroyed() {
    alignas(T) static unsigned char storage[sizeof(T)];
    static T* const object = new (storage) T;
    return *object;
}

}  // namespace plat
