// expect 1035 line 4
function check(value) {
    if (value == null)
        throw
            new Error(1, "value missing");
    return value;
}
