// Wipe: the colour fills the grid from one side, a row or column a step, and with "Fill and
// clear" leaves it again from the same side, so that the loop starts over from a dark grid.
(function () {
    var algo = new Object;
    algo.apiVersion = 2;
    algo.name = "Wipe";
    algo.author = "Lm740";
    algo.acceptColors = 2;
    algo.properties = [];

    var directions = ["Left to right", "Right to left", "Top to bottom", "Bottom to top"];
    var modes = ["Fill", "Fill and clear"];
    algo.direction = 0;
    algo.mode = 0;

    algo.properties.push("name:direction|type:list|display:Direction|" +
                         "values:Left to right,Right to left,Top to bottom,Bottom to top|" +
                         "write:setDirection|read:getDirection");
    algo.setDirection = function (value) {
        var i = directions.indexOf(String(value));
        if (i >= 0)
            algo.direction = i;
    };
    algo.getDirection = function () { return directions[algo.direction]; };

    algo.properties.push("name:mode|type:list|display:Mode|values:Fill,Fill and clear|" +
                         "write:setMode|read:getMode");
    algo.setMode = function (value) {
        var i = modes.indexOf(String(value));
        if (i >= 0)
            algo.mode = i;
    };
    algo.getMode = function () { return modes[algo.mode]; };

    function length(width, height) { return algo.direction < 2 ? width : height; }

    algo.rgbMapStepCount = function (width, height) {
        return length(width, height) * (algo.mode === 1 ? 2 : 1);
    };

    algo.rgbMap = function (width, height, rgb, step) {
        var n = length(width, height);
        // Lit are the rows or columns from..to (counted from the side the wipe starts at).
        var from = step < n ? 0 : step - n + 1;
        var to = step < n ? step : n - 1;
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++) {
                var p = [x, width - 1 - x, y, height - 1 - y][algo.direction];
                map[y][x] = p >= from && p <= to ? rgb : 0;
            }
        }
        return map;
    };

    return algo;
})()
