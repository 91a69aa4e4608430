# Shared by the benchmark scripts; sourced, not run.

# The median of the numbers on standard input, separated by spaces or lines.
median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

# Starts Xvfb on a display it picks itself, waits until it is ready, and
# sets DISPLAY and XPID. Scratch files go to the folder $1.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1/display" >/dev/null 2>&1 &
  XPID=$!
  for _ in $(seq 300); do [ -s "$1/display" ] && break; sleep 0.1; done
  [ -s "$1/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -1 "$1/display")"
}
