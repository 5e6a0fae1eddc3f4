# Writes the text file INPUT as OUTPUT in the form that Notepad shows correctly from Windows 7 on:
# UTF-8 with a byte-order mark and CR LF line ends. A Markdown INPUT (.md), the players' README,
# becomes the Windows guide in plain text (markdown_text.py, run by PYTHON), its pictures named
# where the zip puts them, in PICTURE_FOLDER; any other text is copied as it is.
#
#   cmake -DINPUT=README.ja.md -DOUTPUT=README.txt -DPICTURE_FOLDER=Pellarin -DPYTHON=python3
#         -P PellarinWindowsText.cmake
cmake_minimum_required(VERSION 3.25)
if(INPUT MATCHES "\\.md$")
  execute_process(
    COMMAND ${PYTHON} ${CMAKE_CURRENT_LIST_DIR}/markdown_text.py --platform windows
            --picture-folder ${PICTURE_FOLDER} ${INPUT}
    OUTPUT_VARIABLE text
    COMMAND_ERROR_IS_FATAL ANY)
else()
  file(READ ${INPUT} text)
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 byte_order_mark)
file(WRITE ${OUTPUT} "${byte_order_mark}${text}")
