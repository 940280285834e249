// TImageList: a list of equally sized images with transparency, drawn by index. Components that
// show its images listen for changes, and for its end, through Subscribe.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

namespace nv {

class TImageList {
  public:
    // destroyed: the list is going away and must not be used any more.
    using TChangeEvent = std::function<void(bool destroyed)>;

    explicit TImageList(int width = 16, int height = 16);
    ~TImageList();
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    HIMAGELIST Handle() const noexcept { return list_; }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    int Count() const;

    // Appends the images of a strip of pictures side by side; pixels of the mask colour are
    // transparent. Throws when the list cannot take them.
    void AddMasked(HBITMAP strip, COLORREF mask);
    // The same from a bitmap resource of the module.
    void AddMaskedResource(HINSTANCE module, int id, COLORREF mask);
    void Clear();
    // Empties the list and makes its images this size from now on.
    void Resize(int width, int height);

    void Draw(HDC dc, int index, int x, int y) const;
    // A monochrome picture of the image's opaque pixels (0 bits) on its transparent ones (1 bits),
    // drawn into a DC that holds a monochrome bitmap of the image's size.
    void DrawMask(HDC monoDC, int index) const;

    // Returns an id for Unsubscribe.
    int Subscribe(TChangeEvent handler);
    void Unsubscribe(int id) noexcept;

  private:
    void Changed(bool destroyed);

    HIMAGELIST list_ = nullptr;
    int width_;
    int height_;
    struct Listener {
        int Id;
        TChangeEvent Handler;
    };
    std::vector<Listener> listeners_;
    int lastId_ = 0;
};

} // namespace nv
