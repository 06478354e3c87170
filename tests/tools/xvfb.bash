# Sourced by the tool tests that need an X server of their own. start_xvfb
# starts a private Xvfb (it picks a free display and writes its number to
# $work/display), sets xvfb_pid and display (":N"), and fails the test
# through its `fail` when no server starts.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    display=:$(head -n 1 "$work/display")
}
