@echo off
rem Starts the updater from this directory and returns at once.
start "" "%~dp0Update.exe"
