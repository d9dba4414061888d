"""ICO container: DIB images in 4, 8 and 32 bits with AND masks, and PNG images."""

import io
import struct

from bmp_file import info_header

# The sixteen colours of the standard Windows palette, in palette order.
STANDARD_16 = (
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
)

# Standard colours, a 6 x 6 x 6 colour cube and a grey ramp: exactly 256.
CUBE_LEVELS = (0, 51, 102, 153, 204, 255)
PALETTE_256 = (
    STANDARD_16
    + tuple((r, g, b) for r in CUBE_LEVELS for g in CUBE_LEVELS for b in CUBE_LEVELS)
    + tuple((v, v, v) for v in range(8, 248, 10))
)
assert len(PALETTE_256) == 256

OPAQUE_THRESHOLD = 128


def row_stride(width, bits_per_pixel):
    return (width * bits_per_pixel + 31) // 32 * 4


def nearest_index(colour, palette):
    return min(range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def and_mask(image, is_transparent):
    width, height = image.size
    pixels = image.load()
    stride = row_stride(width, 1)
    mask = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            if is_transparent(pixels[x, y][3]):
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return bytes(mask)


def indexed_pixels(image, palette, bits_per_pixel):
    width, height = image.size
    pixels = image.load()
    stride = row_stride(width, bits_per_pixel)
    per_byte = 8 // bits_per_pixel
    cache = {}
    data = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            red, green, blue, alpha = pixels[x, y]
            if alpha < OPAQUE_THRESHOLD:
                index = 0  # black under a set mask bit leaves the screen unchanged
            else:
                colour = (red, green, blue)
                index = cache.setdefault(colour, nearest_index(colour, palette))
            shift = (per_byte - 1 - x % per_byte) * bits_per_pixel
            row[x // per_byte] |= index << shift
        data += row
    return bytes(data)


def palette_dib(image, palette, bits_per_pixel):
    width, height = image.size
    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    xor = indexed_pixels(image, palette, bits_per_pixel)
    mask = and_mask(image, lambda alpha: alpha < OPAQUE_THRESHOLD)
    header = info_header(width, 2 * height, bits_per_pixel, len(xor) + len(mask))
    return header + colour_table + xor + mask


def true_colour_dib(image):
    width, height = image.size
    pixels = image.load()
    xor = bytearray()
    for y in reversed(range(height)):
        for x in range(width):
            red, green, blue, alpha = pixels[x, y]
            xor += bytes((blue, green, red, alpha))
    mask = and_mask(image, lambda alpha: alpha == 0)
    header = info_header(width, 2 * height, 32, len(xor) + len(mask))
    return header + bytes(xor) + mask


def png_image(image):
    buffer = io.BytesIO()
    image.save(buffer, format="PNG", optimize=False, compress_level=9)
    return buffer.getvalue()


def entry_for(image, bits_per_pixel, as_png=False):
    """One (width, height, colour count, bits per pixel, data) icon entry."""
    width, height = image.size
    if as_png:
        data = png_image(image)
    elif bits_per_pixel == 4:
        data = palette_dib(image, STANDARD_16, 4)
    elif bits_per_pixel == 8:
        data = palette_dib(image, PALETTE_256, 8)
    else:
        data = true_colour_dib(image)
    colour_count = 16 if bits_per_pixel == 4 else 0
    return width, height, colour_count, bits_per_pixel, data


def encode_ico(entries):
    header = struct.pack("<HHH", 0, 1, len(entries))
    offset = len(header) + 16 * len(entries)
    directory = bytearray()
    images = bytearray()
    for width, height, colour_count, bits_per_pixel, data in entries:
        directory += struct.pack(
            "<BBBBHHII",
            width % 256, height % 256, colour_count, 0, 1, bits_per_pixel, len(data), offset + len(images),
        )
        images += data
    return header + bytes(directory) + bytes(images)
