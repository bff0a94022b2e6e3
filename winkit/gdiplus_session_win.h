#pragma once

#include <cstdint>

namespace saltor {

// Keeps GDI+ started for as long as it lives. Each owner holds its own token, so several boards
// (the tests make many) start and stop it independently.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool Started() const { return token_ != 0; }

private:
    uintptr_t token_ = 0;
};

}  // namespace saltor
