#!/usr/bin/env python3
"""Generates Sonvera's six skins (skin1.skn ... skin6.skn) from one design.

Usage: skins/make_skins.py [output folder]   (default: the folder of this script)

A skin is an SVG document; the form "za3dividizuv" is the <g> of that id and
its children with an id are the objects the program clicks and toggles.
Only the colours differ between the skins: they are the data below.
"""
import colorsys
import os
import sys

FORM = "za3dividizuv"
WIDTH, HEIGHT = 455, 341

# name, body (window) colour, accent (button) colour
SKINS = [
    ("Gray", "#4b5058", "#7f8894"),
    ("Absinth", "#3b4520", "#8fb32a"),
    ("Blue", "#1f3454", "#3a7bd5"),
    ("Greeness", "#1d4630", "#2e9e58"),
    ("Redward", "#4a1b24", "#b5323f"),
    ("Cinnabar", "#4e2518", "#e0502a"),
]

# Areas the window's own widgets cover: the file list and the progress bar.
LIST = (15, 65, 427, 209)
PROGRESS = (16, 274, 426, 12)

# Buttons: id, x, y, width, height, label.
MENU_Y, MENU_H = 34, 22
MENU_BUTTONS = [
    ("setting", 15, MENU_Y, 52, MENU_H, "Settings"),
    ("help_button", 69, MENU_Y, 40, MENU_H, "Help"),
]
JOB_Y, JOB_H = 298, 32
JOB_BUTTONS = [
    ("normalize", 15, JOB_Y, 130, JOB_H, "Normalize MP3"),
    ("towav", 152, JOB_Y, 92, JOB_H, "To WAV"),
    ("tomp3", 251, JOB_Y, 92, JOB_H, "To MP3"),
    ("stop", 350, JOB_Y, 92, JOB_H, "Stop"),
]
ICON_Y, ICON_SIZE = 5, 22
ICON_BUTTONS = [("help", 371), ("web", 397), ("quit", 423)]
OVERLAYS = [  # id, button it covers, look, shown when the file opens
    ("normalize_click", "normalize", "pressed", False),
    ("normalize_disable", "normalize", "disabled", False),
    ("towav_click", "towav", "pressed", False),
    ("towav_disable", "towav", "disabled", False),
    ("tomp3_click", "tomp3", "pressed", False),
    ("tomp3_disable", "tomp3", "disabled", False),
    ("stop_disable", "stop", "disabled", True),
]
FONT = 'font-family="sans-serif"'


def rgb(hex_colour):
    return tuple(int(hex_colour[i:i + 2], 16) / 255 for i in (1, 3, 5))


def hex_of(r, g, b):
    return "#%02x%02x%02x" % tuple(round(max(0.0, min(1.0, c)) * 255) for c in (r, g, b))


def shade(hex_colour, lightness=0.0, saturation=1.0):
    """The colour with its lightness moved by `lightness` and saturation scaled."""
    h, l, s = colorsys.rgb_to_hls(*rgb(hex_colour))
    return hex_of(*colorsys.hls_to_rgb(h, max(0.0, min(1.0, l + lightness)), s * saturation))


def mix(a, b, t):
    return hex_of(*(x + (y - x) * t for x, y in zip(rgb(a), rgb(b))))


def luminance(hex_colour):
    r, g, b = rgb(hex_colour)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def label_on(hex_colour):
    return "#ffffff" if luminance(hex_colour) < 0.55 else "#1b1b1b"


def palette(body, accent):
    return {
        "body_top": shade(body, 0.10),
        "body_bottom": shade(body, -0.06),
        "title_top": shade(body, -0.02),
        "title_bottom": shade(body, -0.14),
        "edge": shade(body, -0.22),
        "shine": shade(body, 0.25, 0.8),
        "title": "#f4f4f4",
        "well": shade(body, -0.16),
        "list": mix("#ffffff", accent, 0.05),
        "groove": mix("#d8dadd", accent, 0.10),
        "menu_top": shade(body, 0.16),
        "menu_bottom": shade(body, 0.04),
        "menu_label": "#f0f0f0",
        "button_top": shade(accent, 0.12),
        "button_bottom": shade(accent, -0.08),
        "button_edge": shade(accent, -0.28),
        "button_label": label_on(accent),
        "pressed_top": shade(accent, -0.20),
        "pressed_bottom": shade(accent, -0.06),
        "pressed_label": label_on(shade(accent, -0.13)),
        "lamp": shade(accent, 0.30, 1.2),
        "disabled_top": mix(shade(body, 0.14), "#9a9a9a", 0.35),
        "disabled_bottom": mix(shade(body, 0.06), "#8a8a8a", 0.35),
        "disabled_edge": shade(body, -0.12),
        "disabled_label": mix(shade(body, 0.10), "#d0d0d0", 0.55),
        "icon_fill": shade(body, 0.08),
        "icon_line": "#eeeeee",
    }


def gradient(gid, top, bottom):
    return (f'<linearGradient id="{gid}" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            f'</linearGradient>')


def defs(p):
    return "<defs>" + "".join([
        gradient("body", p["body_top"], p["body_bottom"]),
        gradient("titlebar", p["title_top"], p["title_bottom"]),
        gradient("menu", p["menu_top"], p["menu_bottom"]),
        gradient("button", p["button_top"], p["button_bottom"]),
        gradient("pressed", p["pressed_top"], p["pressed_bottom"]),
        gradient("disabled", p["disabled_top"], p["disabled_bottom"]),
    ]) + "</defs>"


def label(x, y, w, h, text, colour, size, weight="bold"):
    baseline = y + h / 2 + size * 0.36
    return (f'<text x="{x + w / 2:g}" y="{baseline:g}" text-anchor="middle" {FONT} '
            f'font-size="{size}" font-weight="{weight}" fill="{colour}">{text}</text>')


def backdrop(p):
    lx, ly, lw, lh = LIST
    px, py, pw, ph = PROGRESS
    return "\n".join([
        f'<rect x="0" y="0" width="{WIDTH}" height="{HEIGHT}" fill="url(#body)"/>',
        f'<rect x="0" y="0" width="{WIDTH}" height="30" fill="url(#titlebar)"/>',
        f'<rect x="0" y="30" width="{WIDTH}" height="1" fill="{p["shine"]}" opacity="0.35"/>',
        f'<rect x="0.5" y="0.5" width="{WIDTH - 1}" height="{HEIGHT - 1}" fill="none" '
        f'stroke="{p["edge"]}"/>',
        logo(p),
        f'<text x="38" y="21.5" {FONT} font-size="17" font-weight="bold" '
        f'fill="{p["title"]}">Sonvera</text>',
        f'<text x="126" y="21" {FONT} font-size="11" fill="{p["title"]}" opacity="0.6">'
        f'audio converter</text>',
        # The frame of the list and the progress bar that lie on top of it.
        f'<rect x="{lx - 3}" y="{ly - 3}" width="{lw + 6}" height="{py + ph - ly + 6}" rx="3" '
        f'fill="{p["well"]}" stroke="{p["edge"]}"/>',
        f'<rect x="{lx}" y="{ly}" width="{lw}" height="{lh}" fill="{p["list"]}"/>',
        f'<rect x="{px}" y="{py + 1}" width="{pw}" height="{ph - 2}" rx="2" fill="{p["groove"]}"/>',
    ])


def logo(p):
    bars = [(4, 6), (8, 12), (12, 16), (16, 10), (20, 4)]
    lines = "".join(
        f'<rect x="{13 + x - 1}" y="{15.5 - h / 2}" width="2.2" height="{h}" rx="1" '
        f'fill="{p["title"]}"/>' for x, h in bars)
    return (f'<circle cx="25" cy="15.5" r="11" fill="{p["button_bottom"]}" '
            f'stroke="{p["button_edge"]}"/>' + lines)


def menu_button(p, bid, x, y, w, h, text):
    return (f'<g id="{bid}">'
            f'<rect x="{x + 0.5}" y="{y + 0.5}" width="{w - 1}" height="{h - 1}" rx="3" '
            f'fill="url(#menu)" stroke="{p["edge"]}"/>'
            + label(x, y, w, h, text, p["menu_label"], 11, "normal") + '</g>')


def job_button(p, bid, x, y, w, h, text, look="idle"):
    # dx, dy: the label moves aside for the lamp and down as if pushed.
    fill, edge, colour, dx, dy = {
        "idle": ("url(#button)", p["button_edge"], p["button_label"], 0, 0),
        "pressed": ("url(#pressed)", p["button_edge"], p["pressed_label"], 6, 1),
        "disabled": ("url(#disabled)", p["disabled_edge"], p["disabled_label"], 0, 0),
    }[look]
    parts = [f'<rect x="{x + 0.5}" y="{y + 0.5}" width="{w - 1}" height="{h - 1}" rx="5" '
             f'fill="{fill}" stroke="{edge}"/>']
    if look == "idle":
        parts.append(f'<rect x="{x + 2}" y="{y + 1.5}" width="{w - 4}" height="1" rx="0.5" '
                     f'fill="#ffffff" opacity="0.35"/>')
    if look == "pressed":
        parts.append(f'<rect x="{x + 1.5}" y="{y + 1.5}" width="{w - 3}" height="2" '
                     f'fill="#000000" opacity="0.25"/>')
        parts.append(f'<circle cx="{x + 10}" cy="{y + h / 2 + dy}" r="3.2" fill="{p["lamp"]}"/>')
    parts.append(label(x + dx, y + dy, w, h, text, colour, 12))
    return "".join(parts)


def icon_button(p, bid, x):
    y, s = ICON_Y, ICON_SIZE
    cx, cy = x + s / 2, y + s / 2

    def line(width=1.6):
        return f'stroke="{p["icon_line"]}" stroke-width="{width}" fill="none" stroke-linecap="round"'
    glyph = {
        "help": f'<text x="{cx:g}" y="{cy + 5:g}" text-anchor="middle" {FONT} font-size="14" '
                f'font-weight="bold" fill="{p["icon_line"]}">?</text>',
        "web": f'<circle cx="{cx}" cy="{cy}" r="7" {line()}/>'
               f'<ellipse cx="{cx}" cy="{cy}" rx="3" ry="7" {line()}/>'
               f'<path d="M{cx - 7} {cy}H{cx + 7}M{cx - 6} {cy - 3.5}H{cx + 6}'
               f'M{cx - 6} {cy + 3.5}H{cx + 6}" {line(1.1)}/>',
        "quit": f'<path d="M{cx - 5} {cy - 5}L{cx + 5} {cy + 5}M{cx + 5} {cy - 5}L{cx - 5} {cy + 5}" '
                f'{line(2)}/>',
    }[bid]
    return (f'<g id="{bid}"><rect x="{x + 0.5}" y="{y + 0.5}" width="{s - 1}" height="{s - 1}" '
            f'rx="4" fill="{p["icon_fill"]}" stroke="{p["edge"]}"/>{glyph}</g>')


def skin(name, body, accent):
    p = palette(body, accent)
    jobs = {b[0]: b for b in JOB_BUTTONS}
    items = [backdrop(p)]
    items += [menu_button(p, *b) for b in MENU_BUTTONS]
    items += [icon_button(p, bid, x) for bid, x in ICON_BUTTONS]
    items += [f'<g id="{b[0]}">{job_button(p, *b)}</g>' for b in JOB_BUTTONS]
    for oid, button, look, shown in OVERLAYS:
        hidden = "" if shown else ' display="none"'
        items.append(f'<g id="{oid}"{hidden}>{job_button(p, *jobs[button], look=look)}</g>')
    return "\n".join([
        '<?xml version="1.0" encoding="UTF-8"?>',
        f'<!-- Sonvera skin "{name}", generated by skins/make_skins.py -->',
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" '
        f'viewBox="0 0 {WIDTH} {HEIGHT}">',
        f'<title>Sonvera: {name}</title>',
        defs(p),
        f'<g id="{FORM}">',
        *items,
        '</g>',
        '</svg>',
        '',
    ])


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for number, (name, body, accent) in enumerate(SKINS, start=1):
        with open(os.path.join(out, f"skin{number}.skn"), "w", encoding="utf-8") as f:
            f.write(skin(name, body, accent))


if __name__ == "__main__":
    main()
