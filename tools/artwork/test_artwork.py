"""Checks the committed resource files: run with /usr/bin/python3 -m unittest discover tools/artwork"""

import pathlib
import struct
import sys
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

import button_art  # noqa: E402
from bmp_file import encode_bmp  # noqa: E402
from generate import RESOURCES, icon_bytes  # noqa: E402

WIDTH, HEIGHT = 122, 42
PARTLY_ALPHAS = (251, 181, 212, 181, 251)


def pixel_alphas(bmp):
    """Alpha of each pixel, indexed [y][x] with y counted from the top."""
    rows = [bmp[54 + row * WIDTH * 4:54 + (row + 1) * WIDTH * 4] for row in range(HEIGHT)]
    return [list(row[3::4]) for row in reversed(rows)]


class ButtonPictureTest(unittest.TestCase):
    def test_each_picture(self):
        for picture in button_art.PICTURES:
            with self.subTest(picture.file_name):
                bmp = (RESOURCES / picture.file_name).read_bytes()
                self.check_headers(bmp)
                self.check_alpha(pixel_alphas(bmp))
                self.assertEqual(bmp, encode_bmp(button_art.render(picture)), "file is stale: rerun generate.py")

    def check_headers(self, bmp):
        self.assertEqual(len(bmp), 20550)
        magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", bmp, 0)
        self.assertEqual((magic, file_size, offset), (b"BM", 20550, 54))
        size, width, height, planes, bits, compression, image_size = struct.unpack_from("<IiiHHII", bmp, 14)
        self.assertEqual((size, width, height, planes, bits, compression, image_size), (40, 122, 42, 1, 32, 0, 20496))

    def check_alpha(self, alphas):
        values = [alpha for row in alphas for alpha in row]
        self.assertEqual(values.count(255), 5092)
        self.assertEqual(values.count(0), 12)
        corners = {
            "top left": [row[:4] for row in alphas[:4]],
            "top right": [row[::-1][:4] for row in alphas[:4]],
            "bottom left": [row[:4] for row in alphas[::-1][:4]],
            "bottom right": [row[::-1][:4] for row in alphas[::-1][:4]],
        }
        for name, corner in corners.items():
            with self.subTest(corner=name):
                along_curve = (corner[0][3], corner[0][2], corner[1][1], corner[2][0], corner[3][0])
                self.assertEqual(along_curve, PARTLY_ALPHAS)
                self.assertEqual((corner[0][0], corner[0][1], corner[1][0]), (0, 0, 0))


class IconTest(unittest.TestCase):
    def test_directory_lists_ten_images(self):
        ico = (RESOURCES / "mainicon.ico").read_bytes()
        self.assertEqual(ico, icon_bytes(), "file is stale: rerun generate.py")
        self.assertEqual(struct.unpack_from("<HHH", ico, 0), (0, 1, 10))
        found = set()
        for index in range(10):
            width, height, colours, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * index)
            data = ico[offset:offset + length]
            self.assertEqual(len(data), length)
            size = width or 256
            if size == 256:
                self.assertTrue(data.startswith(b"\x89PNG\r\n\x1a\n"))
            else:
                header = struct.unpack_from("<IiiHH", data, 0)
                self.assertEqual(header, (40, size, 2 * size, 1, bits))
                palette = {4: 16, 8: 256, 32: 0}[bits]
                stride = (size * bits + 31) // 32 * 4
                mask_stride = (size + 31) // 32 * 4
                self.assertEqual(length, 40 + 4 * palette + size * (stride + mask_stride))
            self.assertEqual((width, height, colours, planes), (size % 256, size % 256, 16 if bits == 4 else 0, 1))
            found.add((size, bits))
        self.assertEqual(found, {(s, b) for s in (48, 32, 16) for b in (4, 8, 32)} | {(256, 32)})


if __name__ == "__main__":
    unittest.main()
