# Shared by the build scripts: configure and build one build folder.
# Qt's moc step does not always notice headers that appear after the first configure;
# when the list of headers changes, its generated files are made afresh.
tarvolyn_build() {
  local dir=$1; shift
  local stamp="$dir/.header-list"
  local now
  now=$(find src tests -name '*.h' | sort | md5sum | cut -d' ' -f1)
  if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$now" ]; then
    rm -rf "$dir"/*_autogen "$dir"/tests/*_autogen "$dir"/bench/*_autogen "$dir"/app/*_autogen
  fi
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  mkdir -p "$dir"
  echo "$now" > "$stamp"
}
