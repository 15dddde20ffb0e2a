#include "pixels.h"

#include <cstdint>
#include <cstdio>

#ifndef RT_ARTIFACT_DIR
#define RT_ARTIFACT_DIR "artifacts"
#endif

namespace {

Pixels FromDc(HDC source, int x, int y, int width, int height) {
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ previous = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const uint8_t*>(bits);
    pixels.data.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.data.size(); ++i) pixels.data[i] = RGB(p[4 * i + 2], p[4 * i + 1], p[4 * i]);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(dib);
    return pixels;
}

uint32_t Crc(const std::vector<uint8_t>& bytes, size_t from) {
    static uint32_t table[256];
    if (table[1] == 0) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); ++i) c = table[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    Put32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    std::vector<uint8_t> crcInput(out.begin() + static_cast<std::ptrdiff_t>(start), out.end());
    Put32(out, Crc(crcInput, 0));
}

}  // namespace

RECT Pixels::BoundsOf(COLORREF colour, const RECT& within) const {
    RECT bounds{within.right, within.bottom, within.left, within.top};
    for (int y = within.top; y < within.bottom; ++y) {
        for (int x = within.left; x < within.right; ++x) {
            if (At(x, y) != colour) continue;
            bounds.left = x < bounds.left ? x : bounds.left;
            bounds.top = y < bounds.top ? y : bounds.top;
            bounds.right = x + 1 > bounds.right ? x + 1 : bounds.right;
            bounds.bottom = y + 1 > bounds.bottom ? y + 1 : bounds.bottom;
        }
    }
    return bounds;
}

int Pixels::Count(COLORREF colour, const RECT& within) const {
    int count = 0;
    for (int y = within.top; y < within.bottom; ++y) {
        for (int x = within.left; x < within.right; ++x) count += At(x, y) == colour;
    }
    return count;
}

Pixels CaptureClient(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    Pixels pixels = FromDc(dc, 0, 0, client.right, client.bottom);
    ReleaseDC(window, dc);
    return pixels;
}

Pixels CaptureScreen(const RECT& area) {
    HDC screen = GetDC(nullptr);
    Pixels pixels = FromDc(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
    ReleaseDC(nullptr, screen);
    return pixels;
}

Pixels CaptureBitmap(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    Pixels pixels = FromDc(memory, 0, 0, info.bmWidth, info.bmHeight);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::string SavePng(const Pixels& pixels, const std::string& name) {
    CreateDirectoryA(RT_ARTIFACT_DIR, nullptr);
    const std::string path = std::string(RT_ARTIFACT_DIR) + "/" + name + ".png";
    // Scanlines with filter byte 0, in stored (uncompressed) deflate blocks.
    std::vector<uint8_t> raw;
    for (int y = 0; y < pixels.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < pixels.width; ++x) {
            const COLORREF c = pixels.At(x, y);
            raw.push_back(GetRValue(c));
            raw.push_back(GetGValue(c));
            raw.push_back(GetBValue(c));
        }
    }
    std::vector<uint8_t> zlib{0x78, 0x01};
    for (size_t offset = 0; offset < raw.size() || offset == 0;) {
        const size_t length = raw.size() - offset > 65535 ? 65535 : raw.size() - offset;
        const bool last = offset + length == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<uint8_t>(length));
        zlib.push_back(static_cast<uint8_t>(length >> 8));
        zlib.push_back(static_cast<uint8_t>(~length));
        zlib.push_back(static_cast<uint8_t>(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                    raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
        if (last) break;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    Put32(zlib, (b << 16) | a);

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    Put32(header, static_cast<uint32_t>(pixels.width));
    Put32(header, static_cast<uint32_t>(pixels.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", zlib);
    Chunk(png, "IEND", {});
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(png.data(), 1, png.size(), file);
        std::fclose(file);
    }
    return path;
}

std::string DescribeColour(COLORREF colour) {
    char text[16];
    std::snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}
