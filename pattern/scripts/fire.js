// Fire: flames rising from the bottom row, each column flaring at its own pace. The flicker is
// worked out from the cell and the step, not drawn at random, so that the loop (30 steps unless
// Steps says otherwise) comes round without a jump and every render is the same.
(function () {
    var algo = new Object;
    algo.apiVersion = 2;
    algo.name = "Fire";
    algo.author = "Lm740";
    algo.properties = [];
    algo.acceptColors = 0;

    var steps = 30;

    algo.properties.push("name:steps|type:range|display:Steps|values:1,1000|" +
                         "write:setSteps|read:getSteps");
    algo.setSteps = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n))
            steps = Math.max(1, Math.min(1000, n));
    };
    algo.getSteps = function () { return steps; };

    // Black through dark red, red, orange and yellow to a pale yellow, 256 shades.
    var palette = [];
    for (var i = 0; i < 256; i++) {
        var h = i / 255, r, g, b;
        if (h < 0.5) {
            r = h * 2;
            g = 0;
            b = 0;
        } else if (h < 0.8) {
            r = 1;
            g = (h - 0.5) / 0.3 * 0.8;
            b = 0;
        } else {
            r = 1;
            g = 0.8 + (h - 0.8);
            b = (h - 0.8) * 3;
        }
        palette[i] = (Math.round(r * 255) << 16) | (Math.round(g * 255) << 8) | Math.round(b * 255);
    }

    // Numbers in -0.5..0.5 that look random but are the same for the same cell and step: a
    // table made once by a small generator, read at a place the cell and the step choose.
    var flicker = [];
    for (var seed = 1, k = 0; k < 4096; k++) {
        seed = (seed * 16807) % 2147483647;
        flicker[k] = seed / 2147483647 - 0.5;
    }
    function noise(x, y, step) {
        return flicker[(x * 17 + y * 251 + step * 1361) & 4095];
    }

    algo.rgbMapStepCount = function (width, height) { return steps; };

    algo.rgbMap = function (width, height, rgb, step) {
        var t = 2 * Math.PI * step / steps;
        var map = new Array(height);
        var flame = [];
        for (var x = 0; x < width; x++)
            flame[x] = height * (0.55 + 0.2 * Math.sin(2 * t + x * 1.3) +
                                 0.15 * Math.sin(3 * t - x * 0.7));
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            var above = height - 1 - y; // rows above the bottom one
            for (x = 0; x < width; x++) {
                var heat = 1 - (above + 0.5) / (flame[x] + 0.5) + noise(x, y, step) * 0.35;
                var shade = Math.round(heat * 255);
                map[y][x] = palette[shade < 0 ? 0 : shade > 255 ? 255 : shade];
            }
        }
        return map;
    };

    return algo;
})()
