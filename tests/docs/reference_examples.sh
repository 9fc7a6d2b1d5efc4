#!/usr/bin/env bash
# reference_examples.sh REFERENCE WORK: the command examples of the script reference as one
# script. Writes WORK/examples (GROUP<TAB>LINE for each example line of a command section, the
# group taken from the "### GROUP group" heading above it) and WORK/examples.qxs: master
# section Main runs each example line in a command section of its own group (all but the ones
# that show a window or end the session), and the lines of the reference's Conditions
# examples form the Conditions section.
set -u
reference=$1 work=$2

awk '
  /^## /                          { group = "" }
  /^### (FileCopy|FileOps|INI|Misc|Reg) group$/ { group = $2 }
  /^```ini$/                      { in_block = 1; next }
  /^```$/                         { in_block = 0; next }
  in_block && group != "" && $0 !~ /^[ \t]*(;|$)/ { print group "\t" $0 }
' "$reference" > "$work/examples"
# The lines of the example Conditions sections (their header lines left out).
awk '
  /^```ini$/ { in_block = 1; conditions = 0; next }
  /^```$/    { in_block = 0; next }
  in_block && /^\[Conditions\]/ { conditions = 1; next }
  in_block && conditions && $0 !~ /^[ \t]*(;|$)/ { print }
' "$reference" > "$work/conditions"

{
  printf '[Main]\r\n'
  n=0
  while IFS=$'\t' read -r group line; do
    n=$((n + 1))
    case $line in
      MessageBox*|Reboot*|Logoff*|Shutdown*) continue ;;
    esac
    printf '%s E%d\r\n' "$group" "$n"
  done < "$work/examples"
  n=0
  while IFS=$'\t' read -r group line; do
    n=$((n + 1))
    printf '[E%d]\r\n"Example %d" 1\r\n%s\r\n' "$n" "$n" "$line"
  done < "$work/examples"
  printf '[Conditions]\r\n'
  sed 's/$/\r/' "$work/conditions"
} > "$work/examples.qxs"
