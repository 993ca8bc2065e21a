# Turns the English string table's one-line entries into a C++ table, for the
# native build, which has no resources: {id, "text"} per line.
/^STRINGTABLE/ { inside = 1; next }
inside && /^END/ { inside = 0 }
inside && /^[ \t]+IDS_[A-Z0-9_]+, ".*"$/ {
    key = $1
    sub(/,$/, "", key)
    text = $0
    sub(/^[^"]*"/, "", text)
    sub(/"$/, "", text)
    gsub(/""/, "\\\"", text)
    printf "    {%s, \"%s\"},\n", key, text
}
