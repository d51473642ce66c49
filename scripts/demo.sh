#!/usr/bin/env bash
# The main job on the bundled sample database: builds the program, makes
# samples/orders.db, generates Orders.pdb with its Helper file and logs into
# ./out, and prints the PDB back through the viewer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
bash scripts/make-sample.sh
mkdir -p out
cli=${BUILD_DIR:-build}/cli/tallowick-cli
"$cli" generate --file samples/orders.db --query "SELECT * FROM orders" --name Orders --out out
"$cli" view out/OrdersHelper.mhl
