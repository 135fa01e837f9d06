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
        # Only the project's own prefix is ever thrown away: one inherited from the
        # caller (WINEPREFIX=~/.wine) is someone's, and is used as it is.
        case "$(realpath -m "$WINEPREFIX")/" in
            "$ROOT"/build/*) rm -rf "$WINEPREFIX" ;;
        esac
        mkdir -p "$WINEPREFIX"
        DISPLAY= "$WINE" wineboot -i >/dev/null 2>&1
        "$WINESERVER" -w
        touch "$WINEPREFIX/.tunova-prefix"
    fi
    # Without Marlett, caption buttons draw as letters.
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        mkdir -p "$fonts"
        cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
    wine_link_cjk_font
}

# Wine draws a letter its font lacks as a box and looks for it nowhere else, unless the
# font is linked to another, as Windows links its UI font to fonts of other scripts.
# The UI fonts (the dialogs' MS Shell Dlg 2, and Tahoma for menus and tips) are linked
# to WenQuanYi Micro Hei (fonts-wqy-microhei), which holds Chinese, Japanese and Korean
# as well as Latin, Greek and Cyrillic. Wine writes its own links again whenever the
# ANSI code page changes (a test run with another locale), so they are set every time.
CJK_FONT_FILE=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
wine_link_cjk_font() {
    [ -f "$CJK_FONT_FILE" ] || return 0
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' face
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Microsoft Sans Serif"; do
        "$WINE" reg add "$key" /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f \
            >/dev/null 2>&1 </dev/null
    done
}

# Chooses the graphics driver for the runs that follow, then restarts the server
# warm, so that Wine's desktop process starts again with the new driver.
wine_set_graphics() {
    local mode="$1"
    if [ "$(cat "$WINEPREFIX/.tunova-graphics" 2>/dev/null)" = "$mode" ]; then
        wine_start_server
        return
    fi
    if [ "$mode" = null ]; then
        "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
        "$WINE" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
    else
        "$WINE" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    fi
    wine_stop_server
    echo "$mode" >"$WINEPREFIX/.tunova-graphics"
    wine_start_server
}

# Chooses the audio driver the same way:
#   none   no driver: the system has no mixer
#   pulse  PulseAudio at $PULSE_SERVER (tools/pulse/pulse.sh), which every Wine process
#          started afterwards must have in its environment
#   alsa   ALSA's default device, which a process may point elsewhere with its own
#          ALSA_CONFIG_PATH (the image sound tests write it to a file)
# Left unset, Wine would probe for a driver itself and find whatever the machine has.
wine_set_audio() {
    local mode="$1" driver=""
    [ "$mode" = pulse ] && driver=pulse
    [ "$mode" = alsa ] && driver=alsa
    if [ "$(cat "$WINEPREFIX/.tunova-audio" 2>/dev/null)" = "$mode" ]; then
        wine_start_server
        return
    fi
    "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "$driver" /f >/dev/null 2>&1
    wine_stop_server
    echo "$mode" >"$WINEPREFIX/.tunova-audio"
    wine_start_server
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
