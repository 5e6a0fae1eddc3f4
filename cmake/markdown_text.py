#!/usr/bin/env python3
"""Turns the players' README, written in Markdown for GitHub, into the plain text of one platform's
guide, as Notepad shows it: no Markdown marks are left. Prints the text in UTF-8 with LF line ends;
cmake/PellarinWindowsText.cmake gives it Notepad's byte-order mark and CR LF.

Parts that concern one platform only stand between marker lines, HTML comments that GitHub does
not show, which may be indented to stay inside a list item:
  <!-- windows-only -->  ...  <!-- /windows-only -->
  <!-- linux-only -->    ...  <!-- /linux-only -->
The other platform's parts are left out, the markers and any other one-line comment dropped.

The rest: "# Title" becomes the title underlined with "=", "## Section" "■ Section" and
"### Part" "◆ Part"; list items "- " become "・"; bold marks and backticks go; a picture
"![caption](docs/window.png)" becomes "caption（画像: <picture folder>\\window.png）", a link its
text, with the address when that is a web address; a table becomes an aligned list of its rows
without its header, a cell's "<br>" a line break within its column (last column only). Indented
code stays as it is, runs of blank lines become one.

  markdown_text.py --platform windows --picture-folder Pellarin README.ja.md
"""
import argparse
import re
import sys
import unicodedata

# The whitespace that the build's tools strip: ASCII only, so that a full-width space stays.
ASCII_SPACE = " \t\n\v\f\r"
MARKER = re.compile(r"[ \t]*<!-- (/?)(windows|linux)-only -->")


class GuideError(Exception):
    pass


def display_width(text):
    """Columns in a monospaced Japanese font: two for wide and full-width characters, else one."""
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def inline(text, picture_folder):
    text = re.sub(r"!\[([^]]*)\]\(([^)]*/)?([^/)]+)\)",
                  lambda m: f"{m[1]}（画像: {picture_folder}\\{m[3]}）", text)
    text = re.sub(r"\[([^]]*)\]\((https?://[^)]*)\)", r"\1（\2）", text)
    text = re.sub(r"\[([^]]*)\]\([^)]*\)", r"\1", text)
    return text.replace("**", "").replace("`", "")


def table_cells(line, picture_folder):
    # A pipe escaped as GitHub wants it inside a cell is the cell's own.
    line = line.replace("\\|", "\0")
    outer = re.fullmatch(r"[ \t]*\|(.*)\|", line)
    if outer:
        line = outer[1]
    return [inline(cell.strip(ASCII_SPACE), picture_folder).replace("\0", "|")
            for cell in line.split("|")]


def table_lines(rows):
    """The rows but the first (the header) as an aligned list; the last column goes unpadded."""
    rows = rows[1:]
    widths = []
    for row in rows:
        for column, cell in enumerate(row):
            if column < len(widths):
                widths[column] = max(widths[column], display_width(cell))
            else:
                widths.append(display_width(cell))
    lines = []
    for row in rows:
        line = "  " + "".join(cell + " " * (widths[column] - display_width(cell) + 2)
                              for column, cell in enumerate(row[:-1]))
        first, *rest = row[-1].split("<br>")
        lines.append(line + first)
        lines.extend(" " * display_width(line) + part.strip(ASCII_SPACE) for part in rest)
    return lines


def plain_text(markdown, platform, picture_folder):
    other = {"windows": "linux", "linux": "windows"}[platform]
    lines = []
    table = []
    block = None
    block_start = 0
    for number, line in enumerate(markdown.replace("\r\n", "\n").split("\n"), 1):
        line = line.rstrip(" \t")
        marker = MARKER.fullmatch(line)
        if marker:
            end, name = marker.groups()
            if not end:
                if block:
                    raise GuideError(f"line {number}: a {name}-only part inside a {block} one")
                block, block_start = name, number
            elif block != name:
                raise GuideError(f"line {number}: the end of a {name}-only part not begun")
            else:
                block = None
            continue
        if re.match(r"[ \t]*<!--", line):
            if not line.endswith("-->"):
                raise GuideError(f"line {number}: a comment must begin and end on one line")
            continue
        if block == other:
            continue

        if re.match(r"[ \t]*\|", line):
            if not re.fullmatch(r"[ \t]*\|[ :|-]+", line):
                table.append(table_cells(line, picture_folder))
            continue
        lines += table_lines(table)
        table = []

        heading = re.match(r"(##+) (.*)", line)
        if re.match(r"    |\t", line):
            lines.append(line)
        elif line.startswith("# "):
            title = inline(line[2:], picture_folder)
            lines += [title, "=" * display_width(title)]
        elif heading:
            mark = {"##": "■", "###": "◆"}.get(heading[1], "◇")
            lines.append(f"{mark} {inline(heading[2], picture_folder)}")
        else:
            lines.append(inline(re.sub(r"^( *)[-*] ", r"\1・", line), picture_folder))
    lines += table_lines(table)
    if block:
        raise GuideError(f"line {block_start}: the {block}-only part begun here is not ended")
    return re.sub(r"\n\n\n+", "\n\n", "\n".join(lines)).strip(ASCII_SPACE) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--platform", choices=["windows", "linux"], required=True)
    parser.add_argument("--picture-folder", required=True,
                        help="where the guide's pictures stand, as the guide names it")
    parser.add_argument("markdown")
    arguments = parser.parse_args()
    # Only CR LF is taken for LF: any other CR stays in the text.
    with open(arguments.markdown, encoding="utf-8", newline="") as file:
        markdown = file.read()
    try:
        text = plain_text(markdown, arguments.platform, arguments.picture_folder)
    except GuideError as error:
        sys.exit(f"{arguments.markdown}: {error}")
    sys.stdout.buffer.write(text.encode("utf-8"))


if __name__ == "__main__":
    main()
