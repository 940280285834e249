#include "base/ComPtr.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace nv {
namespace {

static_assert(!std::is_copy_constructible_v<ComPtr<IUnknown>>, "interfaces are not copied");

// Counts its references; answers only IUnknown.
class Counted : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    ULONG references = 1;
};

TEST(ComPtr, ReleasesOnceWhateverWayItGoes) {
    Counted object;
    {
        ComPtr<IUnknown> held;
        *held.put() = &object;
        ComPtr<IUnknown> moved(std::move(held));
        EXPECT_FALSE(held);
        EXPECT_EQ(object.references, 1u);
        ComPtr<IUnknown> other = moved.As<IUnknown>(IID_IUnknown);
        EXPECT_EQ(object.references, 2u);
        EXPECT_FALSE(moved.As<IClassFactory>(IID_IClassFactory)) << "an interface the object lacks";
        *other.put() = nullptr; // put releases what was held
        EXPECT_EQ(object.references, 1u);
    }
    EXPECT_EQ(object.references, 0u);
}

} // namespace
} // namespace nv
