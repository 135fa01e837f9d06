# Sourced by tunova.sh: the project's own Wine prefix and its server.
#   WINE_MODE=null  no X server: Wine's null graphics driver (dialogs work, no tray icon)
#   WINE_MODE=x11   a display: windows live in a Wine desktop with a taskbar
export WINEPREFIX="${WINEPREFIX:-$ROOT/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# Debian keeps the 64-bit loader and server out of PATH; call them directly.
export PATH="/usr/lib/wine:$PATH"
export WINELOADER=/usr/lib/wine/wine64
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

wine_prefix_ready() {
    [ -f "$WINEPREFIX/.tunova-prefix" ] && [ -f "$WINEPREFIX/system.reg" ]
}

# Creates the prefix once: about 12 seconds and 700 MB.
wine_prepare_prefix() {
    if ! wine_prefix_ready; then
        echo "== Creating the Wine prefix in $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        DISPLAY= "$WINE" wineboot -i >/dev/null 2>&1
        "$WINESERVER" -w
        local fonts="$WINEPREFIX/drive_c/windows/Fonts"
        mkdir -p "$fonts"
        [ -f /usr/share/wine/fonts/marlett.ttf ] && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
        touch "$WINEPREFIX/.tunova-prefix"
    fi
}

# Chooses the graphics driver for the runs that follow; needs a running server.
wine_set_graphics() {
    local mode="$1"
    if [ "$mode" = null ]; then
        "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
        "$WINE" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
    else
        "$WINE" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    fi
    "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1
}

# A warm, persistent server; without the warm-up Wine's services inherit the test
# runner's output pipe and tests hang until their time-out.
wine_start_server() {
    "$WINESERVER" -p
    "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
}

wine_stop_server() {
    "$WINESERVER" -k 2>/dev/null
    "$WINESERVER" -w 2>/dev/null
}
