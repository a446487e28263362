// Twinkle: lamps flashing up and fading at random. Which lamps, when and how fast is drawn from
// Math.random when the first step is asked for, so that a render seeded the same comes out the
// same; "Variation" gives another draw from the same seed. Every lamp's flashes repeat within the
// 30 steps, so that the loop has no seam.
(function () {
    var algo = new Object;
    algo.apiVersion = 2;
    algo.name = "Twinkle";
    algo.author = "Lm740";
    algo.acceptColors = 1;
    algo.properties = [];

    var steps = 30;
    var periods = [10, 15, 30]; // each divides the loop
    var drawn = null;
    algo.density = 30;
    algo.variation = 0;

    algo.properties.push("name:density|type:range|display:Lamps twinkling (%)|values:1,100|" +
                         "write:setDensity|read:getDensity");
    algo.setDensity = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n) && n !== algo.density) {
            algo.density = Math.max(1, Math.min(100, n));
            drawn = null;
        }
    };
    algo.getDensity = function () { return algo.density; };

    algo.properties.push("name:variation|type:integer|display:Variation|" +
                         "write:setVariation|read:getVariation");
    algo.setVariation = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n) && n !== algo.variation) {
            algo.variation = Math.max(0, Math.min(999999, n));
            drawn = null;
        }
    };
    algo.getVariation = function () { return algo.variation; };

    // For each cell: -1 dark, else its period and where in it the cell starts.
    function draw(width, height) {
        // A small generator of our own, started from Math.random and the variation, so that
        // each variation is a different but repeatable draw.
        var state = (Math.floor(Math.random() * 2147483646) + algo.variation * 7919) %
                    2147483646 + 1;
        function next() {
            state = (state * 16807) % 2147483647;
            return (state - 1) / 2147483646;
        }
        var cells = [];
        for (var i = 0; i < width * height; i++) {
            if (next() * 100 < algo.density) {
                var period = periods[Math.floor(next() * periods.length)];
                cells.push({ period: period, phase: Math.floor(next() * period) });
            } else {
                cells.push(null);
            }
        }
        return { width: width, height: height, cells: cells };
    }

    function scaled(rgb, level) {
        return (Math.round(((rgb >> 16) & 0xFF) * level) << 16) |
               (Math.round(((rgb >> 8) & 0xFF) * level) << 8) | Math.round((rgb & 0xFF) * level);
    }

    algo.rgbMapStepCount = function (width, height) { return steps; };

    algo.rgbMap = function (width, height, rgb, step) {
        if (step === 0 || !drawn || drawn.width !== width || drawn.height !== height)
            drawn = draw(width, height);
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++) {
                var cell = drawn.cells[y * width + x];
                if (!cell) {
                    map[y][x] = 0;
                    continue;
                }
                // A quick rise over a fifth of the period, then a long fade.
                var u = ((step + cell.phase) % cell.period) / cell.period;
                var level = u < 0.2 ? u / 0.2 : Math.pow((1 - u) / 0.8, 2);
                map[y][x] = scaled(rgb, level);
            }
        }
        return map;
    };

    return algo;
})()
