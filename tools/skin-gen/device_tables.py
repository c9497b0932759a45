"""Where every key, button and light zone of the four device pictures sits.

Keyboard positions are in key units (one unit is a standard key's pitch);
the other devices are laid out in pixels of their picture. The numbers are the
"key_N" / "light_N" numbers the device pages bind: key N of the keyboard is the
key whose default code is row N of the keyboard's default key table, and its
light is light N.
"""

# --- keyboard ---------------------------------------------------------------
# (number, legend, x, y, width, height) in units. Legends are printed on the
# caps of the picture's background, so they are pictures, not texts.
KEYBOARD_KEYS = []


def _row(y, start, keys, height=1.0):
    """keys: (number, legend, width) placed left to right from `start`; None width skips a gap."""
    x = start
    for number, legend, width in keys:
        if number is not None:
            KEYBOARD_KEYS.append((number, legend, x, y, width, height))
        x += width


MAIN_X = 1.25      # the macro column lies left of the main block
NAV_X = 16.5
PAD_X = 19.75
ROW = [0.0, 1.25, 2.25, 3.25, 4.25, 5.25]

# Function row, with the lighting key above the macro column and the media keys above the number pad.
_row(ROW[0], 0.0, [(16, "FX", 1)])
_row(ROW[0], MAIN_X, [(0, "Esc", 1), (None, "", 1)] + [(n, "F%d" % n, 1) for n in range(1, 5)] + [(None, "", 0.5)]
     + [(n, "F%d" % n, 1) for n in range(5, 9)] + [(None, "", 0.5)] + [(n, "F%d" % n, 1) for n in range(9, 13)])
_row(ROW[0], NAV_X, [(13, "PrtSc", 1), (14, "ScrLk", 1), (15, "Pause", 1)])
_row(ROW[0], PAD_X, [(104, "", 0.8), (17, "Calc", 0.8), (18, "Mute", 0.8), (19, "Vol-", 0.8), (20, "Vol+", 0.8)])

# Macro keys M1..M5 in a column beside the main rows.
for i in range(5):
    KEYBOARD_KEYS.append((120 + i, "M%d" % (i + 1), 0.0, ROW[1 + i], 1.0, 1.0))

_row(ROW[1], MAIN_X, [(21, "`", 1)] + [(22 + i, "1234567890"[i], 1) for i in range(10)]
     + [(32, "-", 1), (33, "=", 1), (101, "¥", 1), (34, "Bksp", 1)])
_row(ROW[1], NAV_X, [(35, "Ins", 1), (36, "Home", 1), (37, "PgUp", 1)])
_row(ROW[1], PAD_X, [(38, "Num", 1), (39, "/", 1), (40, "*", 1), (41, "-", 1)])

_row(ROW[2], MAIN_X, [(42, "Tab", 1.5)] + [(43 + i, "QWERTYUIOP"[i], 1) for i in range(10)]
     + [(53, "[", 1), (54, "]", 1), (55, "\\", 1.5)])
_row(ROW[2], NAV_X, [(56, "Del", 1), (57, "End", 1), (58, "PgDn", 1)])
_row(ROW[2], PAD_X, [(59, "7", 1), (60, "8", 1), (61, "9", 1), (119, "+", 1)])

_row(ROW[3], MAIN_X, [(63, "Caps", 1.75)] + [(64 + i, "ASDFGHJKL"[i], 1) for i in range(9)]
     + [(73, ";", 1), (74, "'", 1), (62, "#", 1), (75, "Enter", 1.25)])
_row(ROW[3], PAD_X, [(76, "4", 1), (77, "5", 1), (78, "6", 1), (103, ",", 1)])

_row(ROW[4], MAIN_X, [(84, "Shift", 1.25), (102, "|", 1)] + [(85 + i, "ZXCVBNM"[i], 1) for i in range(7)]
     + [(92, ",", 1), (93, ".", 1), (94, "/", 1), (100, "Ro", 1), (95, "Shift", 1.75)])
_row(ROW[4], NAV_X, [(82, "Hanja", 1), (96, "↑", 1), (81, "Han", 1)])
_row(ROW[4], PAD_X, [(97, "1", 1), (98, "2", 1), (99, "3", 1)])
KEYBOARD_KEYS.append((118, "Ent", PAD_X + 3, ROW[4], 1.0, 2.0))

_row(ROW[5], MAIN_X, [(105, "Ctrl", 1.25), (106, "Win", 1.25), (107, "Alt", 1.25), (80, "Mu", 1),
                      (108, "", 3.0), (79, "Hen", 1), (83, "Kana", 1), (109, "Alt", 1), (110, "Fn", 1),
                      (125, "Win", 1), (111, "Menu", 1), (112, "Ctrl", 1.25)])
_row(ROW[5], NAV_X, [(113, "←", 1), (114, "↓", 1), (115, "→", 1)])
_row(ROW[5], PAD_X, [(116, "0", 2), (117, ".", 1)])

KEYBOARD_COLUMNS = PAD_X + 4.0
KEYBOARD_ROWS = ROW[5] + 1.0

# The light strip around the case: lights 126..169 clockwise from the top-left.
KEYBOARD_STRIP = {"top": 17, "right": 5, "bottom": 17, "left": 5, "first": 126}

# --- mouse --------------------------------------------------------------------
# Picture of the mouse from above, 200 x 272 pixels; the body's outline is
# drawn by the generator. Buttons: (number, x, y, width, height).
MOUSE_SIZE = (200, 272)
MOUSE_BUTTONS = [
    (0, 40, 16, 51, 88),    # left button
    (1, 109, 16, 51, 88),   # right button
    (2, 93, 28, 14, 30),    # wheel
    (5, 94, 64, 12, 12),    # DPI up
    (6, 94, 78, 12, 12),    # DPI down
    (7, 94, 112, 12, 10),   # DPI cycle
    (8, 92, 130, 16, 10),   # lighting mode
    (10, 24, 50, 8, 18),    # fire key, thumb side, front
    (9, 24, 72, 8, 18),     # precision (DPI shift)
    (3, 24, 94, 8, 24),     # forward
    (4, 24, 122, 8, 24),    # back
]
# Side strips: light 0..6 on the left from the front, 7..13 on the right from
# the back (so 0 and 13 face each other at the front); 14 is the logo.
MOUSE_STRIP_TOP = 152
MOUSE_STRIP_STEP = 14
MOUSE_STRIP_LENGTH = 11
MOUSE_LOGO = (14, 88, 184, 24, 24)

# --- mouse pad ----------------------------------------------------------------
# 600 x 250 pixels: the surface, a hub with the logo at the top right, the
# phone charging area at the top left. Lights 0..13 run clockwise around the
# edge from the top-left; 14 is the hub's logo.
MOUSEPAD_SIZE = (600, 250)
MOUSEPAD_EDGE = {"top": 5, "right": 2, "bottom": 5, "left": 2}
MOUSEPAD_LOGO = 14

# --- headset ------------------------------------------------------------------
# 360 x 272 pixels, seen from the front: six lights round each ear cup's
# rim (left 0..5, right 6..11, each from the top, clockwise) and the logo on
# the headband (12).
HEADSET_SIZE = (360, 272)
HEADSET_CUP_LIGHTS = 6
HEADSET_LOGO = 12
