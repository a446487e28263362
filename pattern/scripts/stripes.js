// Stripes: bands of up to five colours in turn, moving one cell a step. One colour alone makes
// stripes of it and black.
(function () {
    var algo = new Object;
    algo.apiVersion = 3;
    algo.name = "Stripes";
    algo.author = "Lm740";
    algo.acceptColors = 5;
    algo.properties = [];

    var orientations = ["Vertical", "Horizontal", "Diagonal"];
    algo.orientation = 0;
    algo.width = 2;
    algo.colors = [0xFFFFFF, 0xFF0000];

    algo.properties.push("name:orientation|type:list|display:Stripes|" +
                         "values:Vertical,Horizontal,Diagonal|" +
                         "write:setOrientation|read:getOrientation");
    algo.setOrientation = function (value) {
        var i = orientations.indexOf(String(value));
        if (i >= 0)
            algo.orientation = i;
    };
    algo.getOrientation = function () { return orientations[algo.orientation]; };

    algo.properties.push("name:width|type:range|display:Stripe width|values:1,16|" +
                         "write:setWidth|read:getWidth");
    algo.setWidth = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n))
            algo.width = Math.max(1, Math.min(16, n));
    };
    algo.getWidth = function () { return algo.width; };

    algo.rgbMapSetColors = function (colors) {
        var list = [];
        for (var i = 0; colors && i < colors.length && list.length < 5; i++) {
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
        return algo.width * algo.colors.length;
    };

    algo.rgbMap = function (width, height, rgb, step) {
        var period = algo.width * algo.colors.length;
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++) {
                var p = algo.orientation === 0 ? x : algo.orientation === 1 ? y : x + y;
                var q = (((p - step) % period) + period) % period;
                map[y][x] = algo.colors[Math.floor(q / algo.width)];
            }
        }
        return map;
    };

    return algo;
})()
