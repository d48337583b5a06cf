# A small stand-in for a payload program: a text that names it, repeated to a few KB.
string(REPEAT "Kalvetra payload stand-in for ${NAME}.\r\n" 64 body)
file(WRITE ${OUT} "${body}")
