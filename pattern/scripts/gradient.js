// Gradient: up to five colours laid across the grid one after the other, standing still or
// scrolling round (the last colour runs back into the first so that the scroll has no seam).
(function () {
    var algo = new Object;
    algo.apiVersion = 3;
    algo.name = "Gradient";
    algo.author = "Lm740";
    algo.acceptColors = 5;
    algo.properties = [];

    var orientations = ["Horizontal", "Vertical", "Diagonal", "Radial"];
    var movements = ["Still", "Scroll"];
    algo.orientation = 0;
    algo.movement = 0;
    algo.colors = [0xFF0000, 0x0000FF];

    algo.properties.push("name:orientation|type:list|display:Orientation|" +
                         "values:Horizontal,Vertical,Diagonal,Radial|" +
                         "write:setOrientation|read:getOrientation");
    algo.setOrientation = function (value) {
        var i = orientations.indexOf(String(value));
        if (i >= 0)
            algo.orientation = i;
    };
    algo.getOrientation = function () { return orientations[algo.orientation]; };

    algo.properties.push("name:movement|type:list|display:Movement|values:Still,Scroll|" +
                         "write:setMovement|read:getMovement");
    algo.setMovement = function (value) {
        var i = movements.indexOf(String(value));
        if (i >= 0)
            algo.movement = i;
    };
    algo.getMovement = function () { return movements[algo.movement]; };

    algo.rgbMapSetColors = function (colors) {
        var list = [];
        for (var i = 0; colors && i < colors.length && list.length < 5; i++) {
            var c = Number(colors[i]);
            if (isFinite(c))
                list.push(Math.max(0, Math.min(0xFFFFFF, Math.floor(c))));
        }
        if (list.length > 0)
            algo.colors = list;
    };

    function mix(a, b, t) {
        var r = ((a >> 16) & 0xFF) + (((b >> 16) & 0xFF) - ((a >> 16) & 0xFF)) * t;
        var g = ((a >> 8) & 0xFF) + (((b >> 8) & 0xFF) - ((a >> 8) & 0xFF)) * t;
        var bl = (a & 0xFF) + ((b & 0xFF) - (a & 0xFF)) * t;
        return (Math.round(r) << 16) | (Math.round(g) << 8) | Math.round(bl);
    }

    // How far along the gradient a cell is, 0 at the start; `length` is one past the largest.
    function geometry(width, height) {
        var cx = (width - 1) / 2, cy = (height - 1) / 2;
        var length = [width, height, width + height - 1,
                      Math.floor(Math.sqrt(cx * cx + cy * cy)) + 1][algo.orientation];
        return {
            length: length,
            at: function (x, y) {
                if (algo.orientation === 0)
                    return x;
                if (algo.orientation === 1)
                    return y;
                if (algo.orientation === 2)
                    return x + y;
                return Math.sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
            }
        };
    }

    algo.rgbMapStepCount = function (width, height) {
        return algo.movement === 1 ? geometry(width, height).length : 1;
    };

    algo.rgbMap = function (width, height, rgb, step) {
        var g = geometry(width, height);
        var colors = algo.colors, n = colors.length;
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++) {
                var p = g.at(x, y), c;
                if (n === 1) {
                    c = colors[0];
                } else if (algo.movement === 1) {
                    // Round the colours once over the length, moving one cell a step.
                    var u = (p - step) / g.length;
                    u = (u - Math.floor(u)) * n;
                    var i = Math.floor(u) % n;
                    c = mix(colors[i], colors[(i + 1) % n], u - Math.floor(u));
                } else {
                    var last = g.length - 1;
                    var v = last > 0 ? Math.min(1, p / last) * (n - 1) : 0;
                    var j = Math.min(n - 2, Math.floor(v));
                    c = mix(colors[j], colors[j + 1], v - j);
                }
                map[y][x] = c;
            }
        }
        return map;
    };

    return algo;
})()
