// Runs a cleanup when the scope ends, on every way out, exceptions included.
#pragma once

#include <utility>

namespace nv {

template <class Fn> class ScopeExit {
public:
    explicit ScopeExit(Fn fn) : fn_(std::move(fn)) {}
    ~ScopeExit() {
        if (armed_) fn_();
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    void Dismiss() noexcept { armed_ = false; }

private:
    Fn fn_;
    bool armed_ = true;
};

} // namespace nv
