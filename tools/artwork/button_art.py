"""The four pictures of the action button, drawn pixel by pixel as RGBA images."""

from dataclasses import dataclass

from PIL import Image, ImageDraw, ImageFont

WIDTH = 122
HEIGHT = 42
FONT_PATH = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# Top-left corner; the other three are mirror images. Listed along the curve
# from the top edge to the left edge so the alphas read symmetrically.
CORNER_TRANSPARENT = ((0, 0), (1, 0), (0, 1))
CORNER_PARTLY = (((3, 0), 251), ((2, 0), 181), ((1, 1), 212), ((0, 2), 181), ((0, 3), 251))
# Inner pixels that close the border where it turns the corner.
CORNER_BORDER = ((2, 1), (1, 2))

BADGE_LEFT, BADGE_TOP, BADGE_SIZE = 5, 5, 32
BADGE_MARK = "ID"
WORD_BOX = (39, 11, 117, 29)  # left, top, right, bottom, inclusive
OVERSAMPLE = 4


@dataclass(frozen=True)
class Palette:
    border: tuple
    top_line: tuple
    bottom_line: tuple
    face_top: tuple
    face_bottom: tuple
    badge_frame: tuple
    badge_top: tuple
    badge_bottom: tuple
    badge_mark: tuple


RELEASED = Palette(
    border=(13, 160, 206),
    top_line=(214, 245, 255),
    bottom_line=(126, 214, 242),
    face_top=(141, 225, 251),
    face_bottom=(64, 181, 217),
    badge_frame=(25, 129, 161),
    badge_top=(236, 250, 255),
    badge_bottom=(58, 164, 222),
    badge_mark=(12, 44, 78),
)

PRESSED = Palette(
    border=(4, 81, 119),
    top_line=(142, 202, 232),
    bottom_line=(84, 166, 204),
    face_top=(95, 170, 212),
    face_bottom=(58, 140, 181),
    badge_frame=(10, 78, 108),
    badge_top=(176, 214, 234),
    badge_bottom=(36, 118, 170),
    badge_mark=(6, 28, 52),
)

WHITE_LETTERING = (255, 255, 255)
RED_LETTERING = (232, 24, 24)
WORD_OUTLINE = (8, 30, 60)


@dataclass(frozen=True)
class ButtonPicture:
    file_name: str
    word: str
    palette: Palette
    lettering: tuple


PICTURES = (
    ButtonPicture("start_pressed.bmp", "Получить", PRESSED, RED_LETTERING),
    ButtonPicture("start_released.bmp", "Получить", RELEASED, WHITE_LETTERING),
    ButtonPicture("save_released.bmp", "Сохранить", RELEASED, WHITE_LETTERING),
    ButtonPicture("save_pressed.bmp", "Сохранить", RELEASED, RED_LETTERING),
)


def blend(top, bottom, fraction):
    return tuple(round(a + (b - a) * fraction) for a, b in zip(top, bottom))


def mirrored(x, y):
    """The point (x, y) of the top-left corner in all four corners."""
    right, bottom = WIDTH - 1 - x, HEIGHT - 1 - y
    return ((x, y), (right, y), (x, bottom), (right, bottom))


def draw_face(image, palette):
    pixels = image.load()
    for y in range(HEIGHT):
        colour = blend(palette.face_top, palette.face_bottom, (y - 2) / (HEIGHT - 5))
        for x in range(WIDTH):
            pixels[x, y] = colour + (255,)
    draw = ImageDraw.Draw(image)
    draw.line((3, 1, WIDTH - 4, 1), fill=palette.top_line)
    draw.line((3, HEIGHT - 2, WIDTH - 4, HEIGHT - 2), fill=palette.bottom_line)
    draw.rectangle((0, 0, WIDTH - 1, HEIGHT - 1), outline=palette.border)
    for x, y in CORNER_BORDER:
        for point in mirrored(x, y):
            pixels[point] = palette.border + (255,)


def draw_badge(image, palette):
    pixels = image.load()
    right, bottom = BADGE_LEFT + BADGE_SIZE - 1, BADGE_TOP + BADGE_SIZE - 1
    for y in range(BADGE_TOP + 1, bottom):
        colour = blend(palette.badge_top, palette.badge_bottom, (y - BADGE_TOP - 1) / (BADGE_SIZE - 3))
        for x in range(BADGE_LEFT + 1, right):
            pixels[x, y] = colour + (255,)
    draw = ImageDraw.Draw(image)
    draw.rectangle((BADGE_LEFT, BADGE_TOP, right, bottom), outline=palette.badge_frame)
    font = ImageFont.truetype(FONT_PATH, 15)
    centre = (BADGE_LEFT + BADGE_SIZE / 2, BADGE_TOP + BADGE_SIZE / 2)
    draw.text(centre, BADGE_MARK, font=font, fill=palette.badge_mark, anchor="mm")


def fitting_font(word):
    """The largest oversampled font whose outlined word fits the word box."""
    box_width = (WORD_BOX[2] - WORD_BOX[0] + 1) * OVERSAMPLE
    box_height = (WORD_BOX[3] - WORD_BOX[1] + 1) * OVERSAMPLE
    for size in range(30 * OVERSAMPLE, 6 * OVERSAMPLE, -1):
        font = ImageFont.truetype(FONT_PATH, size)
        left, top, right, bottom = font.getbbox(word, stroke_width=OVERSAMPLE)
        if right - left <= box_width and bottom - top <= box_height:
            return font
    raise ValueError(f"{word!r} does not fit the word box")


def draw_word(image, word, lettering):
    # Drawn large and shrunk: hinting at 12-14 px spaces the letters unevenly,
    # and quarter-pixel font sizes let each word fill its box.
    font = fitting_font(word)
    left, top, right, bottom = font.getbbox(word, stroke_width=OVERSAMPLE)
    box_left, box_top, box_right, box_bottom = (edge * OVERSAMPLE for edge in WORD_BOX)
    x = box_left + (box_right + OVERSAMPLE - box_left - (right - left)) // 2 - left
    y = box_top + (box_bottom + OVERSAMPLE - box_top - (bottom - top)) // 2 - top
    layer = Image.new("RGBA", (WIDTH * OVERSAMPLE, HEIGHT * OVERSAMPLE), (0, 0, 0, 0))
    ImageDraw.Draw(layer).text(
        (x, y), word, font=font, fill=lettering + (255,),
        stroke_width=OVERSAMPLE, stroke_fill=WORD_OUTLINE + (255,),
    )
    image.alpha_composite(layer.resize((WIDTH, HEIGHT), Image.BOX))


def cut_corners(image, palette):
    # Transparent pixels keep the border colour so straight-alpha blending
    # and any later filtering never pull in a foreign colour.
    pixels = image.load()
    for x, y in CORNER_TRANSPARENT:
        for point in mirrored(x, y):
            pixels[point] = palette.border + (0,)
    for (x, y), alpha in CORNER_PARTLY:
        for point in mirrored(x, y):
            pixels[point] = palette.border + (alpha,)


def render(picture):
    image = Image.new("RGBA", (WIDTH, HEIGHT))
    draw_face(image, picture.palette)
    draw_badge(image, picture.palette)
    draw_word(image, picture.word, picture.lettering)
    cut_corners(image, picture.palette)
    return image
