// Checkers: a board of two colours whose squares change places every step, or that slides along
// one cell a step. One colour alone is played against black.
(function () {
    var algo = new Object;
    algo.apiVersion = 3;
    algo.name = "Checkers";
    algo.author = "Lm740";
    algo.acceptColors = 2;
    algo.properties = [];

    var movements = ["Swap", "Slide"];
    algo.movement = 0;
    algo.size = 1;
    algo.colors = [0xFFFFFF, 0x000000];

    algo.properties.push("name:size|type:integer|display:Square size|write:setSize|read:getSize");
    algo.setSize = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n))
            algo.size = Math.max(1, Math.min(50, n));
    };
    algo.getSize = function () { return algo.size; };

    algo.properties.push("name:movement|type:list|display:Movement|values:Swap,Slide|" +
                         "write:setMovement|read:getMovement");
    algo.setMovement = function (value) {
        var i = movements.indexOf(String(value));
        if (i >= 0)
            algo.movement = i;
    };
    algo.getMovement = function () { return movements[algo.movement]; };

    algo.rgbMapSetColors = function (colors) {
        var list = [];
        for (var i = 0; colors && i < colors.length && list.length < 2; i++) {
            var c = Number(colors[i]);
            if (isFinite(c))
                list.push(Math.max(0, Math.min(0xFFFFFF, Math.floor(c))));
        }
        if (list.length === 1)
            list.push(0);
        if (list.length > 0)
            algo.colors = list;
    };

    algo.rgbMapStepCount = function (width, height) {
        return algo.movement === 0 ? 2 : 2 * algo.size;
    };

    algo.rgbMap = function (width, height, rgb, step) {
        var s = algo.size;
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++) {
                var parity = algo.movement === 0
                    ? Math.floor(x / s) + Math.floor(y / s) + step
                    : Math.floor((x - step + 2 * s) / s) + Math.floor(y / s);
                map[y][x] = algo.colors[parity % 2];
            }
        }
        return map;
    };

    return algo;
})()
