// expect 1027 line 11
function level(code) {
    switch (code) {
        case 0:
            return "ok";
        default:
            return "unknown";
        case 1:
        case 2:
            return "warning";
        default:
            return "error";
    }
}
