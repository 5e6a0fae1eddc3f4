# The Windows guide's conversion on a sample of its rules, as the build made it before it was a
# script, but for the title's width: "é" now takes its column. A broken marker names its line.
import subprocess
import sys


def convert(markdown):
    return subprocess.run([sys.executable, sys.argv[1], "--platform", "windows", "--picture-folder",
                           "P", "/dev/stdin"], input=markdown, capture_output=True, encoding="utf-8")


guide = convert("# Café ガイド\n<!-- linux-only -->\nLinux\n<!-- /linux-only -->\n  <!-- windows-only -->\n"
                "- **太字** `x` [a](https://e.x/) [b](b.md) ![図](d/w.png)\n  <!-- /windows-only -->\n\n\n"
                "| 列 | 意味 |\n|---|---|\n| `-a` | 一\\|二<br> 三 |\n| 長い列名 | x |\n    code `kept`\n### 部\n")
assert guide.stdout == ("Café ガイド\n===========\n・太字 x a（https://e.x/） b 図（画像: P\\w.png）\n\n"
                        "  -a        一|二\n            三\n  長い列名  x\n    code `kept`\n◆ 部\n"), guide.stdout
broken = convert("a\n  <!-- /windows-only -->\n")
assert broken.returncode == 1 and "line 2: the end of a windows-only part" in broken.stderr, broken
