#!/usr/bin/env bash
# Smoke test of the real program in a real X window: starts Xvfb on a free display, opens the
# diesel sample log, waits for the main window, checks its caption and that a screenshot of the
# screen is not blank, then asks the window to close the way a window manager would
# (WM_DELETE_WINDOW) and checks that the program ends with status 0.
#   tests/smoke.sh PROGRAM LOG [OUTDIR]
# OUTDIR (default: a temporary folder) keeps the screenshot and the program's output.
set -euo pipefail

program="$(realpath "$1")"
log="$(realpath "$2")"
out="${3:-}"
expected_caption="Ondalyx  v1 -  $(basename "$log" | tr '.' ' ')"

work="$(mktemp -d)"
[[ -n "$out" ]] || out="$work"
mkdir -p "$out"
xvfb_pid=""
app_pid=""
cleanup() {
    if [[ -n "$app_pid" ]] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null || true
    fi
    if [[ -n "$xvfb_pid" ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "smoke: FAILED: $*" >&2
    if [[ -s "$out/ondalyx.log" ]]; then
        echo "smoke: the program's output:" >&2
        sed 's/^/    /' "$out/ondalyx.log" >&2
    fi
    exit 1
}

# The closing tool: sends WM_DELETE_WINDOW to a window, as a window manager's close button does.
cat > "$work/wmclose.c" <<'EOF'
#include <X11/Xlib.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    Display *display = XOpenDisplay(NULL);
    if (!display)
        return 2;
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = (Window)strtoul(argv[1], NULL, 0);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}
EOF
cc -O1 -o "$work/wmclose" "$work/wmclose.c" -lX11 || fail "cannot build the closing tool (libx11-dev?)"

# Xvfb picks a free display itself and writes its number to the descriptor given. -noreset: the
# server must not reset (and, here, die) when its last client, such as xwininfo, disconnects.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s "$work/display" ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    sleep 0.1
done
[[ -s "$work/display" ]] || fail "Xvfb gave no display number"
export DISPLAY=":$(head -n1 "$work/display")"
echo "smoke: Xvfb on $DISPLAY"

started=$(date +%s.%N)
QT_QPA_PLATFORM=xcb "$program" "$log" >"$out/ondalyx.log" 2>&1 &
app_pid=$!

# The main window, found by its caption (no window manager runs, so the program's own window is a
# child of the root window).
window=""
for _ in $(seq 200); do
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended before its window appeared"
    window="$(xwininfo -root -tree 2>/dev/null |
        awk -v name="\"$expected_caption\":" 'index($0, name) { print $1; exit }')"
    [[ -n "$window" ]] && break
    sleep 0.1
done
[[ -n "$window" ]] || fail "no window captioned \"$expected_caption\" within 20 s"
shown=$(date +%s.%N)
echo "smoke: window $window after $(awk -v a="$started" -v b="$shown" 'BEGIN { printf "%.2f", b - a }') s"

caption="$(xprop -id "$window" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')"
[[ "$caption" == "$expected_caption" ]] ||
    fail "caption is \"$caption\", expected \"$expected_caption\""
xprop -id "$window" WM_PROTOCOLS | grep -q WM_DELETE_WINDOW ||
    fail "the window does not take WM_DELETE_WINDOW"

# A screenshot of the whole screen: the window must have drawn something (a blank screen has a
# standard deviation of 0 and one colour). The first paint may follow the mapping a little.
deviation=0
colours=0
for _ in $(seq 50); do
    /usr/bin/import -window root "$out/screenshot.png" 2>/dev/null || true
    if [[ -s "$out/screenshot.png" ]]; then
        deviation="$(/usr/bin/convert "$out/screenshot.png" -format '%[fx:standard_deviation]' info:)"
        colours="$(/usr/bin/convert "$out/screenshot.png" -format '%k' info:)"
        if awk -v d="$deviation" -v c="$colours" 'BEGIN { exit !(d > 0.05 && c > 16) }'; then
            break
        fi
    fi
    sleep 0.2
done
awk -v d="$deviation" -v c="$colours" 'BEGIN { exit !(d > 0.05 && c > 16) }' ||
    fail "the screenshot looks blank (standard deviation $deviation, $colours colours)"
echo "smoke: screenshot $out/screenshot.png: standard deviation $deviation, $colours colours"

# Close as the window manager would, then the program must end by itself with status 0.
"$work/wmclose" "$window" || fail "could not send WM_DELETE_WINDOW"
status=""
for _ in $(seq 100); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
        set +e
        wait "$app_pid"
        status=$?
        set -e
        break
    fi
    sleep 0.1
done
[[ -n "$status" ]] || fail "the program did not end within 10 s of the close request"
app_pid=""
[[ "$status" == 0 ]] || fail "the program ended with status $status"
echo "smoke: closed, exit status 0"
