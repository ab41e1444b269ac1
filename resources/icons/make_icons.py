#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the command bar's icons as small SVG files named by their numbers.

Each icon is a coloured rounded tile with a simple white symbol; the selected state of a
tool button (odd numbers 193..199) uses a dark tile. Run it in this folder after a change.
"""

TILE = '<rect x="2" y="2" width="44" height="44" rx="8" fill="{bg}" stroke="#333" stroke-width="1.5"/>'
W = 'fill="none" stroke="#fff" stroke-width="4" stroke-linecap="round" stroke-linejoin="round"'
F = 'fill="#fff"'

SYMBOLS = {
    "plus": f'<path d="M24 12v24M12 24h24" {W}/>',
    "minus": f'<path d="M12 24h24" {W}/>',
    "play": f'<path d="M17 12l18 12-18 12z" {F}/>',
    "pause": f'<rect x="14" y="12" width="7" height="24" {F}/><rect x="27" y="12" width="7" height="24" {F}/>',
    "stop": f'<rect x="13" y="13" width="22" height="22" {F}/>',
    "reset": f'<path d="M34 18a11 11 0 1 0 2 10" {W}/><path d="M36 10v9h-9" {W}/>',
    "cross": f'<path d="M15 15l18 18M33 15l-18 18" {W}/>',
    "disk": f'<path d="M12 12h20l4 4v20H12z" {W}/><rect x="17" y="26" width="14" height="10" {F}/>',
    "rotate": f'<path d="M14 30a11 11 0 1 1 10 6" {W}/><path d="M10 24l4 7 6-5" {W}/>',
    "left": f'<path d="M36 24H12M20 15l-9 9 9 9" {W}/>',
    "right": f'<path d="M12 24h24M28 15l9 9-9 9" {W}/>',
    "up": f'<path d="M24 36V12M15 20l9-9 9 9" {W}/>',
    "down": f'<path d="M24 12v24M15 28l9 9 9-9" {W}/>',
    "nozzle": f'<path d="M16 12h16v10l-8 8-8-8z" {F}/><path d="M18 36v2M24 34v4M30 36v2" {W}/>',
    "offset": f'<path d="M12 34h24M16 34V14M16 24h14M26 19l5 5-5 5" {W}/>',
    "gear": f'<circle cx="24" cy="24" r="7" {W}/><path d="M24 10v5M24 33v5M10 24h5M33 24h5M14 14l4 4M30 30l4 4M14 34l4-4M30 18l4-4" {W}/>',
    "sliders": f'<path d="M14 12v24M24 12v24M34 12v24" {W}/><circle cx="14" cy="30" r="3" {F}/><circle cx="24" cy="18" r="3" {F}/><circle cx="34" cy="26" r="3" {F}/>',
    "ip": '<text x="24" y="31" font-family="sans-serif" font-size="18" font-weight="bold" fill="#fff" text-anchor="middle">IP</text>',
    "auto_off": f'<rect x="12" y="12" width="24" height="24" rx="3" {W}/>',
    "auto_on": f'<rect x="12" y="12" width="24" height="24" rx="3" {W}/><path d="M16 24l6 6 11-13" {W}/>',
    "fit": f'<path d="M12 19v-7h7M29 12h7v7M36 29v7h-7M19 36h-7v-7" {W}/>',
    "select": f'<path d="M15 11v24l6-6 4 9 4-2-4-9h8z" {F}/>',
    "hand": f'<path d="M24 10v28M10 24h28M19 15l5-5 5 5M19 33l5 5 5-5M15 19l-5 5 5 5M33 19l5 5-5 5" {W}/>',
    "moveline": f'<path d="M12 34l24-20" {W}/><path d="M30 30h8v8M38 30l-6 6" {W}/>',
    "start": f'<circle cx="24" cy="24" r="10" {W}/><circle cx="24" cy="24" r="3" {F}/>',
    "app": f'<path d="M12 36l10-24 4 10 10 4z" {F}/>',
}

ICONS = {
    170: ("#2e7d32", "plus"), 171: ("#1565c0", "disk"), 172: ("#2e7d32", "play"),
    173: ("#ef6c00", "pause"), 174: ("#c62828", "stop"), 175: ("#c62828", "cross"),
    176: ("#00838f", "plus"), 177: ("#00838f", "minus"), 178: ("#6a1b9a", "rotate"),
    179: ("#455a64", "left"), 180: ("#455a64", "right"), 181: ("#455a64", "up"),
    182: ("#455a64", "down"), 183: ("#5d4037", "reset"), 184: ("#0277bd", "nozzle"),
    185: ("#00695c", "offset"), 186: ("#37474f", "gear"), 187: ("#37474f", "sliders"),
    188: ("#37474f", "ip"), 189: ("#9e9e9e", "auto_off"), 190: ("#2e7d32", "auto_on"),
    191: ("#607d8b", "fit"),
    192: ("#90a4ae", "select"), 193: ("#263238", "select"),
    194: ("#90a4ae", "hand"), 195: ("#263238", "hand"),
    196: ("#90a4ae", "moveline"), 197: ("#263238", "moveline"),
    198: ("#90a4ae", "start"), 199: ("#263238", "start"),
}

# The language flags: simple stripes and a letter code.
FLAGS = {
    200: (["#de2910"], "中"), 201: (["#012169", "#c8102e"], "EN"), 202: (["#e30a17"], "TR"),
    203: (["#ffffff", "#0039a6", "#d52b1e"], "RU"), 204: (["#0057b7", "#ffd700"], "UA"),
    205: (["#00b5e2", "#ef3340", "#509e2f"], "AZ"),
}


def write(name, body):
    with open(f"{name}.svg", "w", encoding="utf-8") as f:
        f.write('<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">'
                + body + "</svg>\n")


for number, (bg, symbol) in ICONS.items():
    write(number, TILE.format(bg=bg) + SYMBOLS[symbol])
write("app", TILE.format(bg="#1565c0") + SYMBOLS["app"])
for number, (stripes, code) in FLAGS.items():
    h = 36 / len(stripes)
    body = "".join(f'<rect x="2" y="{6 + i * h:.1f}" width="44" height="{h:.1f}" fill="{c}"/>'
                   for i, c in enumerate(stripes))
    body += '<rect x="2" y="6" width="44" height="36" fill="none" stroke="#333" stroke-width="1.5"/>'
    body += (f'<text x="24" y="30" font-family="sans-serif" font-size="14" font-weight="bold" '
             f'fill="#000" stroke="#fff" stroke-width="0.6" text-anchor="middle">{code}</text>')
    write(number, body)
