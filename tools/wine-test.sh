#!/usr/bin/env bash
# Runs one test program under Wine for ctest: wine-test.sh <program.exe.so> [arguments].
# GoogleTest gives every verdict in its own words. A program that ends before its tests run
# (Wine could not start it, a module failed to load or to initialise, a signal) would
# otherwise fail with no word at all: its exit status is reported, together with whether it
# reached its main function (the test entry point leaves a mark in a file named by
# QUORVEL_TEST_STARTED, where it also writes its verdict). Wine's own error messages reach
# the output as they come.
set -u
started=$(mktemp)
trap 'rm -f "$started"' EXIT
# Wine itself sometimes fails to start a process: the address it keeps for the shared user
# data (or a thread's first block) is already taken by a library the kernel placed there at
# random ("failed to map the shared user data: c0000018"). That says nothing of the tests: a
# program that never reached its main function is started again, twice at most.
for attempt in 1 2 3; do
  : >"$started"
  QUORVEL_TEST_STARTED=$started wine "$@"
  status=$?
  if [ "$status" -eq 0 ] || [ -s "$started" ] || [ "$attempt" -eq 3 ]; then
    break
  fi
  echo "$(basename "$1") ended with exit status $status before its main function ran: started again" >&2
done
# The verdict the tests gave holds over an exit status that teardown after them replaced.
if [ "$status" -eq 0 ] && grep -q '^result [^0]' "$started"; then
  echo "$(basename "$1") reported failed tests but ended with exit status 0" >&2
  status=1
elif [ "$status" -eq 0 ] && grep -q '^started' "$started" && ! grep -q '^result' "$started"; then
  echo "$(basename "$1") ended with exit status 0 before its tests finished" >&2
  status=1
fi
if [ "$status" -ne 0 ]; then
  how="exit status $status"
  if [ "$status" -gt 128 ]; then
    how="signal $(kill -l $((status - 128)) 2>/dev/null || echo $((status - 128)))"
  fi
  if [ -s "$started" ]; then
    echo "$(basename "$1") ended with $how" >&2
  else
    echo "$(basename "$1") ended with $how before its main function ran: Wine could not start it" >&2
  fi
fi
exit "$status"
