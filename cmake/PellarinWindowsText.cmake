# Writes the text file INPUT as OUTPUT in the form that Notepad shows correctly from Windows 7 on:
# UTF-8 with a byte-order mark and CR LF line ends. Markdown picture lines, such as
# "![caption](docs/window.png)", become "caption（画像: Pellarin\window.png）", naming the picture
# where the zip puts it, in PICTURE_FOLDER.
#
#   cmake -DINPUT=README.ja.md -DOUTPUT=README.txt -DPICTURE_FOLDER=Pellarin
#         -P PellarinWindowsText.cmake
file(READ ${INPUT} text)
string(REGEX REPLACE "!\\[([^]\n]*)\\]\\(([^)\n]*/)?([^/)\n]+)\\)"
       "\\1（画像: ${PICTURE_FOLDER}\\\\\\3）" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 byte_order_mark)
file(WRITE ${OUTPUT} "${byte_order_mark}${text}")
