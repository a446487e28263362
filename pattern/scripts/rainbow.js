// Rainbow: every hue across the grid, turning once round the colour circle over its steps (30
// unless Steps says otherwise; 31 fill a whole program).
(function () {
    var algo = new Object;
    algo.apiVersion = 2;
    algo.name = "Rainbow";
    algo.author = "Lm740";
    algo.acceptColors = 0;
    algo.properties = [];

    var orientations = ["Horizontal", "Vertical", "Diagonal", "Radial"];
    algo.orientation = 0;
    algo.repeat = 1;

    algo.properties.push("name:orientation|type:list|display:Orientation|" +
                         "values:Horizontal,Vertical,Diagonal,Radial|" +
                         "write:setOrientation|read:getOrientation");
    algo.setOrientation = function (value) {
        var i = orientations.indexOf(String(value));
        if (i >= 0)
            algo.orientation = i;
    };
    algo.getOrientation = function () { return orientations[algo.orientation]; };

    algo.properties.push("name:repeat|type:range|display:Rainbows across|values:1,8|" +
                         "write:setRepeat|read:getRepeat");
    algo.setRepeat = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n))
            algo.repeat = Math.max(1, Math.min(8, n));
    };
    algo.getRepeat = function () { return algo.repeat; };

    var steps = 30;

    algo.properties.push("name:steps|type:range|display:Steps|values:1,1000|" +
                         "write:setSteps|read:getSteps");
    algo.setSteps = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n))
            steps = Math.max(1, Math.min(1000, n));
    };
    algo.getSteps = function () { return steps; };

    // Hue 0..1 at full saturation and brightness.
    function hue(h) {
        h = (h - Math.floor(h)) * 6;
        var i = Math.floor(h), f = h - i;
        var up = Math.round(255 * f), down = 255 - up;
        switch (i) {
        case 0: return 0xFF0000 | (up << 8);
        case 1: return (down << 16) | 0x00FF00;
        case 2: return 0x00FF00 | up;
        case 3: return (down << 8) | 0x0000FF;
        case 4: return (up << 16) | 0x0000FF;
        default: return 0xFF0000 | down;
        }
    }

    algo.rgbMapStepCount = function (width, height) { return steps; };

    algo.rgbMap = function (width, height, rgb, step) {
        var cx = (width - 1) / 2, cy = (height - 1) / 2;
        var length = [width, height, width + height - 1,
                      Math.sqrt(cx * cx + cy * cy) + 1][algo.orientation];
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++) {
                var p;
                if (algo.orientation === 0)
                    p = x;
                else if (algo.orientation === 1)
                    p = y;
                else if (algo.orientation === 2)
                    p = x + y;
                else
                    p = Math.sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
                map[y][x] = hue(algo.repeat * p / length - step / steps);
            }
        }
        return map;
    };

    return algo;
})()
