// An off-screen drawing surface: a memory device context with one bitmap selected into it.
#pragma once

#include <windows.h>

class OffscreenBuffer {
  public:
    OffscreenBuffer();
    virtual ~OffscreenBuffer();
    OffscreenBuffer(const OffscreenBuffer&) = delete;
    OffscreenBuffer& operator=(const OffscreenBuffer&) = delete;

    void SetBufferOwner(HWND window) { owner_ = window; }
    HWND BufferOwner() const { return owner_; }
    void CreateBufferDc(HDC reference);
    void CreateBufferBitmap(HDC reference, int width, int height);
    bool SelectBufferBitmap();
    HDC BufferDc() const { return dc_; }
    const BITMAP& BitmapInfo() const { return bitmapInfo_; }

  private:
    void DropBitmap();

    HWND owner_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previousBitmap_;
    HGDIOBJ extraObject_;
    HGDIOBJ previousExtraObject_;
    BITMAP bitmapInfo_;
};

// The main window's grid surface.
OffscreenBuffer& BackBuffer();
