# launch_newinstance.bat: one line that starts the application as a new instance.
file(WRITE ${OUT} "Kalvetra.exe -newinstance\r\n")
