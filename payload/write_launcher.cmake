# launch_newinstance.bat: starts the application as a new instance.
file(WRITE ${OUT} "start Kalvetra.exe -newinstance\r\n")
