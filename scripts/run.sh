#!/usr/bin/env bash
# Installs the packages, builds Quarnel and starts it, ready to log on to the demo database.
# Without a display it says how to run it on a desktop and prints the demo schema's DDL with
# quarnel-dump instead, so that what the program shows can be seen on the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target quarnel quarnel-dump demo_db
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat <<'TEXT'

There is no display here, so Quarnel's windows cannot be shown. To run it on a desktop, start
`bash scripts/run.sh` from a terminal of that desktop (or log in with `ssh -X` so that the
windows come to your screen), then log on to the demo database with:

  ユーザＩＤ      demo
  パスワード      (anything, or nothing)
  ホスト文字列    sqlite:demo.db

Meanwhile, this is the DDL that Quarnel writes for the tables of the demo schema, by the same
code on the command line:

  build/quarnel-dump --host sqlite:build/demo.db --user demo

TEXT
  exec build/quarnel-dump --host sqlite:build/demo.db --user demo
fi
cd build
exec ./quarnel
