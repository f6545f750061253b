@echo off
rem Runs quorva.exe on a copy of the sample help set, with the switches in
rem examples\demo-switches.txt. The copy is the folder demo beside this script, replaced on each
rem run; open demo\index.htm in a browser afterwards.
setlocal
set "HERE=%~dp0"
for /f "usebackq delims=" %%s in ("%HERE%examples\demo-switches.txt") do set "SWITCHES=%%s"
if exist "%HERE%demo" rmdir /s /q "%HERE%demo"
xcopy "%HERE%examples\sample-help" "%HERE%demo\" /e /i /q >nul
if errorlevel 1 (
  set CODE=1
  echo Could not copy the sample help set to "%HERE%demo".
  goto end
)
cd /d "%HERE%demo"
"%HERE%quorva.exe" setup\fsref.htm toc.htm %SWITCHES%
set CODE=%errorlevel%
if not %CODE%==0 goto end
echo.
echo The processed sample help set is in "%HERE%demo".
echo Open demo\index.htm in a browser.
:end
rem Opened from Explorer, the window would close before the output could be read.
echo %CMDCMDLINE% | findstr /i /c:"%~nx0" >nul && pause
exit /b %CODE%
