// Waves: soft bands of light rolling across the grid, or out from its centre as rings on water,
// one cell a step. The colour goes from the start colour to the end colour.
(function () {
    var algo = new Object;
    algo.apiVersion = 2;
    algo.name = "Waves";
    algo.author = "Lm740";
    algo.acceptColors = 2;
    algo.properties = [];

    var orientations = ["Horizontal", "Vertical", "Rings"];
    algo.orientation = 0;
    algo.wavelength = 8;

    algo.properties.push("name:orientation|type:list|display:Orientation|" +
                         "values:Horizontal,Vertical,Rings|" +
                         "write:setOrientation|read:getOrientation");
    algo.setOrientation = function (value) {
        var i = orientations.indexOf(String(value));
        if (i >= 0)
            algo.orientation = i;
    };
    algo.getOrientation = function () { return orientations[algo.orientation]; };

    algo.properties.push("name:wavelength|type:range|display:Wave length|values:2,40|" +
                         "write:setWavelength|read:getWavelength");
    algo.setWavelength = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n))
            algo.wavelength = Math.max(2, Math.min(40, n));
    };
    algo.getWavelength = function () { return algo.wavelength; };

    function scaled(rgb, level) {
        return (Math.round(((rgb >> 16) & 0xFF) * level) << 16) |
               (Math.round(((rgb >> 8) & 0xFF) * level) << 8) | Math.round((rgb & 0xFF) * level);
    }

    algo.rgbMapStepCount = function (width, height) { return algo.wavelength; };

    algo.rgbMap = function (width, height, rgb, step) {
        var cx = (width - 1) / 2, cy = (height - 1) / 2;
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++) {
                var p = algo.orientation === 0 ? x
                      : algo.orientation === 1 ? y
                      : Math.sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
                var level = (1 + Math.cos(2 * Math.PI * (p - step) / algo.wavelength)) / 2;
                map[y][x] = scaled(rgb, level);
            }
        }
        return map;
    };

    return algo;
})()
