// Holds one COM interface reference and releases it when the scope ends, also when an error
// is raised.
#pragma once

namespace tk {

template <class T> class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (FPtr) FPtr->Release();
    }
    T* operator->() const { return FPtr; }
    T* Get() const { return FPtr; }
    // Where a call that hands out the interface stores it.
    void** Out() { return reinterpret_cast<void**>(&FPtr); }
    T** OutTyped() { return &FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }

private:
    T* FPtr = nullptr;
};

}  // namespace tk
