"""The application icon: a speech-bubble mark above "ID" in a rounded square."""

from PIL import Image, ImageDraw, ImageFont

from button_art import FONT_PATH

DESIGN_SIZE = 256
OUTLINE = (0, 0, 0, 255)
BUBBLE_FILL = (30, 136, 214, 255)
BUBBLE_DOTS = (255, 255, 255, 255)
LETTERS = "ID"


def draw_design(size, oversample):
    """The design drawn at size * oversample for shrinking to `size`.

    Outlines and the bubble's edges fall on whole output pixels and are at
    least one pixel wide, so the shrunken lines stay sharp instead of grey.
    """
    canvas = size * oversample
    scale = canvas / DESIGN_SIZE

    def at(value):
        return round(value * scale)

    def snapped(value):
        return round(value * size / DESIGN_SIZE) * oversample

    def width(design_width):
        return max(snapped(design_width), oversample)

    image = Image.new("RGBA", (canvas, canvas), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)

    frame = width(14)
    draw.rounded_rectangle(
        (snapped(10), snapped(10), canvas - 1 - snapped(10), canvas - 1 - snapped(10)),
        radius=at(46), outline=OUTLINE, width=frame,
    )

    bubble_outline = width(10)
    tail = [(at(82), at(118)), (at(122), at(118)), (at(70), at(154))]
    body = (snapped(54), snapped(38), snapped(202) - 1, snapped(124) - 1)
    draw.polygon(tail, fill=OUTLINE)
    draw.rounded_rectangle(body, radius=at(34), fill=OUTLINE)
    inset = bubble_outline
    draw.rounded_rectangle(
        (body[0] + inset, body[1] + inset, body[2] - inset, body[3] - inset),
        radius=max(at(34) - inset, 1), fill=BUBBLE_FILL,
    )
    tail_inner = [(at(90), at(114)), (at(112), at(114)), (at(84), at(134))]
    draw.polygon(tail_inner, fill=BUBBLE_FILL)
    dot = width(11)
    for centre_x in (96, 128, 160):
        cx, cy = at(centre_x), at(81)
        draw.ellipse((cx - dot, cy - dot, cx + dot, cy + dot), fill=BUBBLE_DOTS)

    font = ImageFont.truetype(FONT_PATH, at(78))
    draw.text((canvas // 2, at(188)), LETTERS, font=font, fill=OUTLINE, anchor="mm")
    return image


# At 16 x 16 a shrunken drawing turns to grey mush, so that size is drawn
# pixel by pixel: K outline and letters, B bubble, W bubble dots, . clear.
PIXELS_16 = (
    "..KKKKKKKKKKKK..",
    ".K............K.",
    "K..KKKKKKKKKK..K",
    "K.KBBBBBBBBBBK.K",
    "K.KBWWBWWBWWBK.K",
    "K.KBWWBWWBWWBK.K",
    "K.KBBBBBBBBBBK.K",
    "K..KBKKKKKKKK..K",
    "K..KK..........K",
    "K....KK.KKKK...K",
    "K....KK.KK.KK..K",
    "K....KK.KK.KK..K",
    "K....KK.KK.KK..K",
    "K....KK.KKKK...K",
    ".K............K.",
    "..KKKKKKKKKKKK..",
)
PIXEL_COLOURS = {"K": OUTLINE, "B": BUBBLE_FILL, "W": BUBBLE_DOTS, ".": (0, 0, 0, 0)}


def pixel_drawing(rows):
    image = Image.new("RGBA", (len(rows[0]), len(rows)))
    image.putdata([PIXEL_COLOURS[cell] for row in rows for cell in row])
    return image


def render(size):
    if size == len(PIXELS_16):
        return pixel_drawing(PIXELS_16)
    oversample = 4 if size >= 128 else 8
    return draw_design(size, oversample).resize((size, size), Image.BOX)
