// expect 1019 line 6
var items = [1, 2, 3];
var found = -1;
if (items.length > 0) {
    found = items[0];
    break;
}
