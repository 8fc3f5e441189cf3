# score_font.py SOURCE.ttf COPYRIGHT OUT.woff OUT-LICENSE.txt: the score's face for the page: Liberation Sans
# cut down to the digits and the minus sign, with its metrics and hinting, under a name of its own (a changed
# font may not carry its Reserved Font Name), and its copyright and license beside it.
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "Dovra Score"
POSTSCRIPT = "DovraScore"

source, copyright_file, out_font, out_license = sys.argv[1:]
font = TTFont(source, recalcTimestamp=False)
options = subset.Options()
options.name_IDs = ["*"]
options.name_languages = ["*"]
options.hinting = True
options.layout_features = []
options.drop_tables += ["FFTM"]  # the font tool's own time stamps
subsetter = subset.Subsetter(options)
subsetter.populate(text="0123456789-")
subsetter.subset(font)
# The names a user sees: family, style, unique and full name, PostScript name, and the typographic family.
for record in font["name"].names:
    if record.nameID in (1, 4, 16):
        record.string = FAMILY
    elif record.nameID == 3:
        record.string = FAMILY + " Regular"
    elif record.nameID == 6:
        record.string = POSTSCRIPT
font.flavor = "woff"
font.save(out_font, reorderTables=True)

# Debian's copyright file: the font's own paragraph, up to the next "Files:".
with open(copyright_file, encoding="utf-8") as f:
    lines = f.read().split("\nFiles: ")[1].splitlines()[1:]
text = []
for line in lines:
    if line.startswith("Copyright:") or line.startswith("License:"):
        rest = line.split(":", 1)[1].strip()
        text.append(rest if line.startswith("Copyright:") else "")
    else:
        line = line[1:] if line.startswith(" ") else line
        text.append("" if line == "." else line)
with open(out_license, "w", encoding="utf-8", newline="\r\n") as f:
    f.write("The score's face, score.woff, is Liberation Sans Regular cut down to the digits and the minus sign\n")
    f.write('and renamed "%s". Its copyright and license:\n\n' % FAMILY)
    f.write("\n".join(text).strip("\n") + "\n")
