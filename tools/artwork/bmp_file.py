"""32-bit BMP files with straight alpha, written byte by byte."""

import struct

FILE_HEADER_SIZE = 14
INFO_HEADER_SIZE = 40


def bgra_rows_bottom_up(image):
    """The pixels of an RGBA image as B, G, R, A bytes, last row first."""
    width, height = image.size
    pixels = image.load()
    data = bytearray()
    for y in reversed(range(height)):
        for x in range(width):
            red, green, blue, alpha = pixels[x, y]
            data += bytes((blue, green, red, alpha))
    return bytes(data)


def info_header(width, height, bits_per_pixel, image_size, colours_used=0):
    return struct.pack(
        "<IiiHHIIiiII",
        INFO_HEADER_SIZE, width, height, 1, bits_per_pixel, 0, image_size, 0, 0, colours_used, 0,
    )


def encode_bmp(image):
    width, height = image.size
    pixel_data = bgra_rows_bottom_up(image)
    offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixel_data), 0, 0, offset)
    return file_header + info_header(width, height, 32, len(pixel_data)) + pixel_data
