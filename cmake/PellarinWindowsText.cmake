# Writes the text file INPUT as OUTPUT in the form that Notepad shows correctly from Windows 7 on:
# UTF-8 with a byte-order mark and CR LF line ends. A Markdown INPUT (.md), the players' README,
# becomes the Windows guide in plain text (PellarinMarkdownText.cmake), its pictures named where
# the zip puts them, in PICTURE_FOLDER; any other text is copied as it is.
#
#   cmake -DINPUT=README.ja.md -DOUTPUT=README.txt -DPICTURE_FOLDER=Pellarin
#         -P PellarinWindowsText.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${INPUT} text)
if(INPUT MATCHES "\\.md$")
  include(${CMAKE_CURRENT_LIST_DIR}/PellarinMarkdownText.cmake)
  pellarin_markdown_to_plain_text(text "${text}" windows "${PICTURE_FOLDER}")
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 byte_order_mark)
file(WRITE ${OUTPUT} "${byte_order_mark}${text}")
