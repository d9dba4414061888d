"""The application icon: a speech-bubble mark above "ID" in a rounded square."""

from PIL import Image, ImageDraw, ImageFont

from button_art import FONT_PATH

DESIGN_SIZE = 256
OUTLINE = (0, 0, 0, 255)
BUBBLE_FILL = (30, 136, 214, 255)
BUBBLE_DOTS = (255, 255, 255, 255)
LETTERS = "ID"


def draw_design(size, oversample):
    """The design drawn at size * oversample, with line widths kept visible at `size`."""
    canvas = size * oversample
    scale = canvas / DESIGN_SIZE
    pixel = oversample  # one output pixel in canvas units

    def at(value):
        return round(value * scale)

    def width(design_width):
        return max(round(design_width * scale), pixel)

    image = Image.new("RGBA", (canvas, canvas), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)

    frame = width(14)
    draw.rounded_rectangle(
        (at(10), at(10), canvas - 1 - at(10), canvas - 1 - at(10)),
        radius=at(46), outline=OUTLINE, width=frame,
    )

    bubble_outline = width(10)
    tail = [(at(82), at(128)), (at(122), at(128)), (at(70), at(166))]
    body = (at(54), at(42), at(202), at(134))
    draw.polygon(tail, fill=OUTLINE)
    draw.rounded_rectangle(body, radius=at(34), fill=OUTLINE)
    inset = bubble_outline
    draw.rounded_rectangle(
        (body[0] + inset, body[1] + inset, body[2] - inset, body[3] - inset),
        radius=max(at(34) - inset, 1), fill=BUBBLE_FILL,
    )
    tail_inner = [(at(90), at(124)), (at(112), at(124)), (at(84), at(146))]
    draw.polygon(tail_inner, fill=BUBBLE_FILL)
    dot = width(11)
    for centre_x in (96, 128, 160):
        cx, cy = at(centre_x), at(88)
        draw.ellipse((cx - dot, cy - dot, cx + dot, cy + dot), fill=BUBBLE_DOTS)

    font = ImageFont.truetype(FONT_PATH, at(82))
    draw.text((canvas // 2, at(204)), LETTERS, font=font, fill=OUTLINE, anchor="mm")
    return image


def render(size):
    oversample = 4 if size >= 128 else 8
    return draw_design(size, oversample).resize((size, size), Image.BOX)
