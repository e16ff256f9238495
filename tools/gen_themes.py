#!/usr/bin/env python3
"""Writes the kit's two built-in themes, kit/themes/light.json and kit/themes/dark.json.

The build reads only the JSON files; this script is how they are produced.
Run it from anywhere:  python3 tools/gen_themes.py
then check the result with the kit's checker (the test suite runs it on every
built-in theme):        build/bin/tessera-theme-check --contrast kit/themes/*.json

Colour values are written as theme token paths ("palette.primary.main"), and
tints as colour expressions over them ("alpha(palette.primary.main, 0.12)",
"lighten(palette.error.main, 0.2)"), so that a theme extending one of these and
changing its palette gets matching tints without restating them. Lengths are
plain numbers (rendered as px); key order inside each style is the declaration
order.

Every pair of text and background, and of border or focus ring and the surface
beneath, that the enabled states produce reaches WCAG 2.1 contrast (4.5:1 for
text, 3:1 for the rest) on both background colours; the contrast test and
`tessera-theme-check --contrast` check the rendered sheets.
"""

import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
THEMES_DIR = os.path.join(HERE, os.pardir, "kit", "themes")

COLORS = ("primary", "secondary", "error", "warning", "info", "success")
SIZES = ("small", "medium", "large")

GREY = {
    "_50": "#fafafa",
    "_100": "#f5f5f5",
    "_200": "#eeeeee",
    "_300": "#e0e0e0",
    "_400": "#bdbdbd",
    "_500": "#9e9e9e",
    "_600": "#757575",
    "_700": "#616161",
    "_800": "#424242",
    "_900": "#212121",
    "A100": "#f5f5f5",
    "A200": "#eeeeee",
    "A400": "#bdbdbd",
    "A700": "#616161",
}

# Rounding shared by buttons; fields and editors use a slightly smaller one.
BORDER_RADIUS = 6
FIELD_RADIUS = 4


def swatch(main, light, dark, contrast):
    return {"main": main, "light": light, "dark": dark, "contrastText": contrast}


LIGHT = {
    "mode": "light",
    "colors": {
        # The deeper shades: text in these colours must read on both backgrounds.
        "primary": swatch("#1565c0", "#42a5f5", "#0d47a1", "#ffffff"),
        "secondary": swatch("#9c27b0", "#ba68c8", "#7b1fa2", "#ffffff"),
        "error": swatch("#b71c1c", "#ef5350", "#8e1414", "#ffffff"),
        "warning": swatch("#a14a07", "#ff9800", "#7a3805", "#ffffff"),
        "info": swatch("#01579b", "#03a9f4", "#013e6f", "#ffffff"),
        "success": swatch("#1b5e20", "#4caf50", "#124116", "#ffffff"),
    },
    "text": {"primary": "#212121", "secondary": "#666666", "disabled": "#9e9e9e"},
    "divider": "#e0e0e0",
    "background": {"default": "#f5f6f8", "paper": "#ffffff", "neutral": "#eceff3"},
    # Translucent overlays are drawn in black on light surfaces.
    "ink": "palette.common.black",
    "action": {
        "active": "#757575",
        "hover": "alpha(palette.common.black, 0.04)",
        "selected": "alpha(palette.common.black, 0.08)",
        "disabled": "#bdbdbd",
        "disabledBackground": "#e0e0e0",
        "focus": "alpha(palette.common.black, 0.12)",
    },
    # Outline of fields and editors (3:1 against both backgrounds).
    "outline": "palette.grey._600",
    # The keyboard focus ring: the text colour, 2 px wide.
    "ring": "palette.text.primary",
    # Contained buttons under the pointer: the deeper shade on light paper.
    "containedHover": "palette.%s.dark",
    # Tints of text and outlined buttons, hovered and checked; of soft buttons at rest, hovered, checked.
    "tints": (0.04, 0.1),
    "softTints": (0.08, 0.12, 0.18),
    # Tone of the text on soft buttons: the deeper shade reads best on light paper.
    "softText": "dark",
    "default": {
        "containedBg": "palette.grey._300",
        "containedText": "palette.text.primary",
        "containedHover": "palette.grey._400",
        "outline": "palette.grey._600",
        "text": "palette.text.primary",
    },
    # PopupTrigger's label and chevrons; the label colour is the one its fixed sheets were written with.
    "popupLabel": "#6b6b6b",
    "popupIndicator": "palette.common.black",
}

DARK = {
    "mode": "dark",
    "colors": {
        "primary": swatch("#90caf9", "#e3f2fd", "#42a5f5", "#0d1b2a"),
        "secondary": swatch("#ce93d8", "#f3e5f5", "#ab47bc", "#1f0d24"),
        "error": swatch("#ff6b61", "#ffcdd2", "#d32f2f", "#1a0202"),
        "warning": swatch("#ffa726", "#ffb74d", "#f57c00", "#1f1300"),
        "info": swatch("#29b6f6", "#4fc3f7", "#0288d1", "#031924"),
        "success": swatch("#66bb6a", "#81c784", "#388e3c", "#0b1f0c"),
    },
    "text": {"primary": "#ffffff", "secondary": "#b0b0b0", "disabled": "#6f6f6f"},
    "divider": "#2f2f2f",
    "background": {"default": "#121212", "paper": "#1e1e1e", "neutral": "#2a2a2a"},
    "ink": "palette.common.white",
    "action": {
        "active": "#ffffff",
        "hover": "alpha(palette.common.white, 0.08)",
        "selected": "alpha(palette.common.white, 0.16)",
        "disabled": "#6f6f6f",
        "disabledBackground": "#3a3a3a",
        "focus": "alpha(palette.common.white, 0.12)",
    },
    "outline": "palette.grey._600",
    "ring": "palette.text.primary",
    # On dark paper a hovered contained button lightens, keeping its dark text readable.
    "containedHover": "lighten(palette.%s.main, 0.2)",
    "tints": (0.08, 0.16),
    "softTints": (0.12, 0.2, 0.28),
    "softText": "light",
    "default": {
        "containedBg": "palette.grey._700",
        "containedText": "palette.common.white",
        "containedHover": "palette.grey._600",
        "outline": "palette.grey._600",
        "text": "palette.text.primary",
    },
    "popupLabel": "palette.text.secondary",
    "popupIndicator": "palette.text.secondary",
}


def alpha(token, a):
    return "alpha(%s, %s)" % (token, ("%.2f" % a).rstrip("0").rstrip("."))


def ink(mode, a):
    return alpha(mode["ink"], a)


def palette(mode):
    p = {"mode": mode["mode"], "common": {"black": "#000000", "white": "#ffffff"}}
    for name in COLORS:
        p[name] = dict(mode["colors"][name])
    p["grey"] = dict(GREY)
    p["text"] = dict(mode["text"])
    p["divider"] = mode["divider"]
    p["background"] = dict(mode["background"])
    p["action"] = dict(mode["action"])
    return p


def typography():
    def variant(size, weight):
        return {"fontSize": size, "fontWeight": weight}

    return {
        "fontFamily": "Roboto, Noto Sans, DejaVu Sans, sans-serif",
        "fontSize": 14,
        "h1": variant(40, 300),
        "h2": variant(34, 300),
        "h3": variant(28, 400),
        "h4": variant(24, 400),
        "h5": variant(20, 400),
        "h6": variant(18, 500),
        "subtitle1": variant(16, 400),
        "subtitle2": variant(14, 500),
        "body1": variant(14, 400),
        "body2": variant(13, 400),
        "button": variant(14, 500),
        "caption": variant(12, 400),
        "overline": variant(11, 500),
    }


def title_background(mode):
    page, frame = mode["background"]["default"], mode["background"]["paper"]
    return ("qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, "
            f"stop: 0 {page}, stop: 0.49 {page}, stop: 0.5 {frame}, stop: 1 {frame})")


def field_shell(mode):
    root = {
        "border": "1px solid",
        "borderColor": mode["outline"],
        "borderRadius": FIELD_RADIUS,
        "backgroundColor": "palette.background.paper",
        "color": "palette.text.primary",
        "marginTop": 8,
        "paddingTop": 6,
        "paddingLeft": 8,
        "paddingRight": 8,
    }
    title = {
        "subcontrolOrigin": "margin",
        "subcontrolPosition": "top left",
        "left": 10,
        "padding": "0 4px",
        "color": "palette.text.secondary",
        # The title straddles the frame's top line: its upper half wears the
        # page's colour and its lower half the frame's own, so the line is
        # hidden behind the title and no patch stands out above the frame.
        "backgroundColor": title_background(mode),
        "fontSize": 12,
        "slots": {
            "focused": {"color": "palette.primary.main"},
            "error": {"color": "palette.error.main"},
            "disabled": {"color": "palette.text.disabled"},
        },
    }
    input_field = {
        "border": "none",
        "backgroundColor": "transparent",
        "color": "palette.text.primary",
        "fontSize": 14,
        "selectionBackgroundColor": "palette.primary.main",
        "selectionColor": "palette.primary.contrastText",
        "padding": "4px 2px",
        "props": {
            "multiline": {
                "small": {"fontSize": 13, "padding": "2px 0px"},
                "medium": {"fontSize": 14, "padding": "4px 0px"},
                "large": {"fontSize": 15, "padding": "6px 0px"},
            },
            "multiple": {"paddingTop": 2, "paddingBottom": 2},
        },
    }
    return {"styles": {"root": root, "title": title, "inputField": input_field}}


def field_shell_size():
    # The frame's own font is the one its title is drawn with (Qt ignores a font
    # on the ::title subcontrol); the editors inside set their own size.
    # "height" is the integer the widget passes to setMinimumHeight(); as a
    # declaration it is also the content height of a single-line field, whose
    # editor is centred there, so that case drops the vertical padding.
    per_size = {
        "small": (12, 0, 40),
        "medium": (12, 2, 48),
        "large": (13, 4, 56),
    }
    styles = {}
    for size, (font, bottom, height) in per_size.items():
        styles[size] = {
            "fontSize": font,
            "paddingBottom": bottom,
            "no-multiple": {
                "paddingTop": 0,
                "paddingBottom": 0,
                "minHeight": height - 8,
                "maxHeight": height,
                "height": height,
            },
        }
    return {"styles": styles}


def shrink(padding):
    return " ".join("%dpx" % (int(p[:-2]) - 1) for p in padding.split())


def ring(mode):
    return {"borderWidth": 2, "borderStyle": "solid", "borderColor": mode["ring"]}


def button(mode):
    sizes = {
        # padding, font size, total height
        "small": ("4px 10px", 13, 30, 4),
        "medium": ("6px 16px", 14, 36, 6),
        "large": ("8px 22px", 15, 42, 8),
    }
    size_styles = {}
    for size, (padding, font, total, pad_v) in sizes.items():
        size_styles[size] = {
            "padding": padding,
            "fontSize": font,
            "fontWeight": 500,
            # min-height counts the content box: take off the vertical padding
            # and the 1px border that every variant draws (transparent or not).
            "minHeight": total - 2 * pad_v - 2,
            "borderRadius": BORDER_RADIUS,
            "textVariant": {"fontWeight": 500},
            # The focus ring is 1px wider than the border at rest: the padding
            # gives that pixel back, so the content does not move.
            "slots": {"focus": {"padding": shrink(padding)}},
        }

    hover, checked = mode["tints"]
    soft, soft_hover, soft_checked = mode["softTints"]
    colour_styles = {}

    d = mode["default"]
    colour_styles["default"] = {"props": {
        "containedVariant": {
            "backgroundColor": d["containedBg"],
            "color": d["containedText"],
            "border": "1px solid",
            "borderColor": d["containedBg"],
            "slots": {
                "hover": {"backgroundColor": d["containedHover"], "borderColor": d["containedHover"]},
                "checked": {"backgroundColor": d["containedHover"], "borderColor": d["containedHover"]},
                "focus": ring(mode),
            },
        },
        "outlinedVariant": {
            "backgroundColor": "transparent",
            "color": d["text"],
            "border": "1px solid",
            "borderColor": d["outline"],
            "slots": {
                "hover": {"backgroundColor": ink(mode, hover)},
                "checked": {"backgroundColor": ink(mode, checked)},
                "focus": ring(mode),
            },
        },
        "textVariant": {
            "backgroundColor": "transparent",
            "color": d["text"],
            "border": "1px solid transparent",
            "slots": {
                "hover": {"backgroundColor": ink(mode, hover)},
                "checked": {"backgroundColor": ink(mode, checked)},
                "focus": ring(mode),
            },
        },
        "softVariant": {
            "backgroundColor": ink(mode, soft),
            "color": d["text"],
            "border": "1px solid transparent",
            "slots": {
                "hover": {"backgroundColor": ink(mode, soft_hover)},
                "checked": {"backgroundColor": ink(mode, soft_checked)},
                "focus": ring(mode),
            },
        },
    }}

    for name in COLORS:
        tok = "palette.%s." % name
        main = tok + "main"
        contained_hover = mode["containedHover"] % name
        colour_styles[name] = {"props": {
            "containedVariant": {
                "backgroundColor": main,
                "color": tok + "contrastText",
                "border": "1px solid",
                "borderColor": main,
                "slots": {
                    "hover": {"backgroundColor": contained_hover, "borderColor": contained_hover},
                    "checked": {"backgroundColor": contained_hover, "borderColor": contained_hover},
                    "focus": ring(mode),
                },
            },
            "outlinedVariant": {
                "backgroundColor": "transparent",
                "color": main,
                "border": "1px solid",
                # The whole colour: a paler outline would not reach 3:1 on the paper.
                "borderColor": main,
                "slots": {
                    "hover": {"backgroundColor": alpha(main, hover)},
                    "checked": {"backgroundColor": alpha(main, checked)},
                    "focus": ring(mode),
                },
            },
            "textVariant": {
                "backgroundColor": "transparent",
                "color": main,
                "border": "1px solid transparent",
                "slots": {
                    "hover": {"backgroundColor": alpha(main, hover)},
                    "checked": {"backgroundColor": alpha(main, checked)},
                    "focus": ring(mode),
                },
            },
            "softVariant": {
                "backgroundColor": alpha(main, soft),
                "color": tok + mode["softText"],
                "border": "1px solid transparent",
                "slots": {
                    "hover": {"backgroundColor": alpha(main, soft_hover)},
                    "checked": {"backgroundColor": alpha(main, soft_checked)},
                    "focus": ring(mode),
                },
            },
        }}

    return {"styles": {"root": {"size": size_styles, "colorStyle": colour_styles}}}


def outlined_editor(mode):
    # border-width/border-color without a border-style keep the platform frame,
    # so the step buttons and their arrows are still drawn; a border-style or
    # border-radius here would turn them into blank boxes.
    return {"styles": {"root": {
        "borderWidth": 1,
        "borderColor": mode["outline"],
        "padding": "4px 8px",
        "backgroundColor": "palette.background.paper",
        "color": "palette.text.primary",
        "selectionBackgroundColor": "palette.primary.main",
        "selectionColor": "palette.primary.contrastText",
        "minHeight": 24,
        "fontSize": 14,
    }, "focus": {
        # 2px in the focus colour; the padding gives the extra pixel back.
        "borderWidth": 2,
        "borderColor": "palette.primary.main",
        "padding": "3px 7px",
    }}}


def knob():
    # A dial draws no frame of its own: its focus shows as a ring around it.
    return {"styles": {"root": {
        "backgroundColor": "palette.background.paper",
        "color": "palette.primary.main",
        "border": "2px solid transparent",
        "borderRadius": FIELD_RADIUS,
    }, "focus": {"borderColor": "palette.primary.main"}}}


def popup_trigger(mode):
    # Read by PopupTrigger for the label colour and the chevrons of its open
    # and closed sheets, and for its keyboard focus look: an outline, which
    # Qt draws at the focus rectangle without taking room, so neither the
    # native look nor the open and closed looks move.
    return {"styles": {"label": {"color": mode["popupLabel"]},
                       "indicator": {"color": mode["popupIndicator"]},
                       "focus": {"outlineStyle": "solid", "outlineWidth": 2,
                                 "outlineColor": mode["ring"], "outlineRadius": 4}}}


def theme(name, mode):
    return {
        "name": name,
        "palette": palette(mode),
        "typography": typography(),
        "shape": {"borderRadius": BORDER_RADIUS},
        "components": {
            "FieldShell": field_shell(mode),
            "FieldShellSize": field_shell_size(),
            "PyButton": button(mode),
            "KnobField": knob(),
            "StepperField": outlined_editor(mode),
            "CalendarField": outlined_editor(mode),
            "PopupTrigger": popup_trigger(mode),
        },
    }


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else THEMES_DIR
    os.makedirs(out_dir, exist_ok=True)
    for name, mode in (("light", LIGHT), ("dark", DARK)):
        path = os.path.join(out_dir, name + ".json")
        with open(path, "w", encoding="utf-8") as f:
            json.dump(theme(name, mode), f, indent=2)
            f.write("\n")
        print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
