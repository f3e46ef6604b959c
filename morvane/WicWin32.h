// A little COM plumbing for the two WIC users (Morvane's decoder and the test
// kit's encoder): an owning interface pointer and a per-call COM apartment.
#pragma once

// clang-format off
#include <windows.h>
#include <objbase.h>
#include <wincodec.h>
// clang-format on

namespace morvane {

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (pointer_ != nullptr) pointer_->Release();
    }
    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    T** out() { return &pointer_; }

private:
    T* pointer_ = nullptr;
};

// Initialises COM for the calling thread for as long as it lives. A thread
// that already runs COM in the other threading mode (RPC_E_CHANGED_MODE) can
// still use WIC; it just must not be uninitialised by us.
class ComScope {
public:
    ComScope() {
        HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        usable_ = SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
        mustUninitialise_ = SUCCEEDED(hr);
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (mustUninitialise_) CoUninitialize();
    }
    bool usable() const { return usable_; }

private:
    bool usable_ = false;
    bool mustUninitialise_ = false;
};

}  // namespace morvane
