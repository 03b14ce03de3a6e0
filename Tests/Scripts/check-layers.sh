#!/usr/bin/env bash
# The layer check passes a tree that includes along the layers and fails each include planted against them.
# Usage: check-layers.sh <repository>
set -euo pipefail
check=$1/scripts/check-layers
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

write() { mkdir -p "$tree/$(dirname "$1")"; printf '#pragma once\n' > "$tree/$1"; shift 0; }
include() { printf '#include "%s"\n' "$2" >> "$tree/$1"; }

write Platform/Foundation/Data.hpp
write Basalwork/Base/Coder.hpp;            include Basalwork/Base/Coder.hpp Platform/Foundation/Data.hpp
write Shared/Metricove/Event.hpp
write Shared/Syncwright/Remote.hpp;        include Shared/Syncwright/Remote.hpp Shared/Metricove/Event.hpp
write Shared/Model/Entry.hpp;              include Shared/Model/Entry.hpp Basalwork/Base/Coder.hpp
write Shared/Stores/Store.hpp;             include Shared/Stores/Store.hpp Shared/Model/Entry.hpp
write Shared/Screens/ListVC.hpp;           include Shared/Screens/ListVC.hpp Shared/Stores/Store.hpp
write Corvendale/Services/Dependencies.hpp; include Corvendale/Services/Dependencies.hpp Shared/Stores/Store.hpp
write Corvendale/Screens/Items/ListC.hpp;  include Corvendale/Screens/Items/ListC.hpp Corvendale/Services/Dependencies.hpp
write Corvendale/App/AppDelegate.cpp;      include Corvendale/App/AppDelegate.cpp Corvendale/Screens/Items/ListC.hpp
write Corvendale/main.cpp;                 include Corvendale/main.cpp Corvendale/App/AppDelegate.cpp
write Sorrelgate/ProviderVC.cpp;           include Sorrelgate/ProviderVC.cpp Shared/Screens/ListVC.hpp
write Tests/Shared/StoreTests.cpp;         include Tests/Shared/StoreTests.cpp Corvendale/App/AppDelegate.cpp

failures=0
"$check" "$tree" > "$tree.out" 2>&1 || { echo "FAIL: a tree along the layers was refused:"; cat "$tree.out"; failures=1; }

# Each plant alone must fail, naming the file.
plant() {
  local file=$1 included=$2
  cp -r "$tree" "$tree.planted"
  mkdir -p "$tree.planted/$(dirname "$file")"
  printf '#include "%s"\n' "$included" >> "$tree.planted/$file"
  if "$check" "$tree.planted" > "$tree.out" 2>&1; then
    echo "FAIL: $file including $included passed"; failures=$((failures + 1))
  elif ! grep -q "$file includes \"$included\"" "$tree.out"; then
    echo "FAIL: the report does not name $file:"; cat "$tree.out"; failures=$((failures + 1))
  fi
  rm -rf "$tree.planted"
}
plant Shared/Model/Entry.cpp Shared/Screens/ListVC.hpp
plant Shared/Stores/Store.cpp Shared/Transfer/Importer.hpp
plant Platform/Foundation/Data.cpp Basalwork/Base/Coder.hpp
plant Basalwork/Base/Coder.cpp Shared/Model/Entry.hpp
plant Shared/Metricove/Event.cpp Shared/Syncwright/Remote.hpp
plant Corvendale/Services/Dependencies.cpp Corvendale/App/AppDelegate.hpp
plant Corvendale/Screens/Items/ListC.cpp Corvendale/App/AppDelegate.hpp
plant Sorrelgate/ProviderVC.cpp Corvendale/Services/Dependencies.hpp
plant Corvendale/App/AppDelegate.cpp Sorrelgate/ProviderVC.hpp
plant Shared/Screens/ListVC.cpp Tests/Support/Files.hpp
rm -f "$tree.out"

# The repository itself includes along the layers.
"$check" "$1" > /dev/null || { "$check" "$1" | tail -20; echo "FAIL: the repository includes against the layers"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "check-layers: the check holds" || exit 1
